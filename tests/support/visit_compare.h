#pragma once

#include "data/visit_record.h"

#include <QString>
#include <optional>

namespace quillora::test {

// The visit as the save stores it (date normalised, doses trimmed, grid fitted).
VisitRecord storedForm(const VisitRecord &visit);

// Empty when the stored row is the expected one (or both are missing), else what differs.
QString visitDifference(const std::optional<VisitRecord> &stored, const std::optional<VisitRecord> &expected);

} // namespace quillora::test
