#pragma once

namespace quillora {

// Maps the form's font names (宋体, 黑体, 楷体_GB2312, 隶书 …) to installed CJK families.
void installFontSubstitutions();

} // namespace quillora
