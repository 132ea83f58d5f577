#pragma once

#include <QString>

namespace quillora {

// A caption that ends in "(X)" names its access key: "文件(F)" becomes "文件(&F)", which Qt
// shows as 文件(F) with the F underlined and opens with Alt+F. Other captions are kept, with
// any "&" doubled so that it shows as itself.
QString withAccessKey(const QString &caption);

} // namespace quillora
