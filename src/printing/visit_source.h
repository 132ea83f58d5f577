#pragma once

#include "data/visit_record.h"

#include <QString>
#include <array>

namespace quillora {

// What the card windows take from the main window's visit when they open (and when printing).
class VisitSource
{
public:
    virtual ~VisitSource() = default;
    // The institution name as the sheet shows it.
    virtual QString institution() const = 0;
    virtual std::array<QString, kHeaderFieldCount> headerFields() const = 0;
    // The visit key of the visit on screen.
    virtual QString visitKey() const = 0;
    // The prescription body and the history notes, lines separated by CR LF.
    virtual QString body() const = 0;
    virtual QString history() const = 0;
    // Saves the visit on screen (saying why when it cannot); true when its row is current.
    virtual bool saveVisit() = 0;
};

} // namespace quillora
