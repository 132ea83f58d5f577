#pragma once

#include "data/data_files.h"

#include <QString>
#include <functional>
#include <QTemporaryDir>
#include <memory>

namespace quillora {
class Printer;
}

namespace quillora::bench {

// Both data files, created in a temporary folder and open, for one benchmark area.
struct BenchFolder
{
    QTemporaryDir dir;
    std::unique_ptr<DataFiles> files;
    BenchFolder();
};

// Fonts and PDF output need a GUI application; the shared benchmark main makes none.
// False when none can be made.
bool ensureGuiApplication();
// Composes a document into an A4 PDF in memory (writer, fonts, drawing, the finished file)
// and returns its size in bytes.
qint64 pdfSize(const std::function<void(Printer &)> &compose);

// The name of catalogue drug i: a handful of stems, numbered, with a pack size.
QString catalogueName(int i);
// Fills the drug catalogue up to `count` drugs (every fifth one a herb), in one transaction.
void fillDrugCatalogue(Database &settings, int count);

} // namespace quillora::bench
