#pragma once

#include <QStringList>

namespace quillora {

// The categories of the drug catalogue (分类), in the order of the category buttons; the
// main window's drug entry and the catalogue window both show them.
const QStringList &catalogueCategoryNames();

} // namespace quillora
