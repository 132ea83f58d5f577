#pragma once

#include "base/app_paths.h"

#include <QDialog>

namespace quillora {

// Product name, version and the folders this run uses.
class AboutDialog : public QDialog
{
    Q_OBJECT

public:
    AboutDialog(const AppPaths &paths, QWidget *parent = nullptr);
};

} // namespace quillora
