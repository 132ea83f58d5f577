#pragma once

#include "data/data_files.h"

#include <QString>
#include <QTemporaryDir>
#include <memory>

namespace quillora::bench {

// Both data files, created in a temporary folder and open, for one benchmark area.
struct BenchFolder
{
    QTemporaryDir dir;
    std::unique_ptr<DataFiles> files;
    BenchFolder();
};

// The name of catalogue drug i: a handful of stems, numbered, with a pack size.
QString catalogueName(int i);
// Fills the drug catalogue up to `count` drugs (every fifth one a herb), in one transaction.
void fillDrugCatalogue(Database &settings, int count);

// Fonts and PDF output need a GUI application, which the shared benchmark main does not make:
// makes one (offscreen unless told otherwise) with the form's fonts mapped. False when another
// kind of application object is already there.
bool ensureGuiApplication();

} // namespace quillora::bench
