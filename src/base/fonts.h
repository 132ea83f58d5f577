#pragma once

namespace quillora {

// Maps the form's font names (宋体, 黑体, 楷体_GB2312, 隶书 …) to installed CJK families.
void installFontSubstitutions();
// Loads the form faces and draws a line of common form text in each, so that the main window's
// first opening does not pay for it (run while the login window waits for the password).
void warmUpFormFonts();

} // namespace quillora
