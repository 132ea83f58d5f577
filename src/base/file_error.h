#pragma once

#include <QString>

namespace quillora {

// Why a file could not be written, in words a doctor can act on, from the system's error number.
QString fileErrorReason(int errorNumber);

} // namespace quillora
