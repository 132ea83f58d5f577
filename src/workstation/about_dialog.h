#pragma once

#include "base/app_paths.h"

#include <QDialog>

namespace quillora {

// Product name, version and the folders this run uses.
class AboutDialog : public QDialog
{
    Q_OBJECT

public:
    // `archive` says where the archive of this run is (a file, or the server the rooms share).
    AboutDialog(const AppPaths &paths, const QString &archive, QWidget *parent = nullptr);
};

} // namespace quillora
