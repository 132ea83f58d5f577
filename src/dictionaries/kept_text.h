#pragma once

#include <QString>

namespace quillora {

// A stored multi-line text shown in a text box: until the box is edited, saving writes back
// exactly what was stored (line breaks and all), not the box's own rendering of it.
class KeptText
{
public:
    // The stored CR LF text and the plain text the box shows for it once set.
    void keep(const QString &stored, const QString &shown);
    void forget() { keep({}, {}); m_kept = false; }
    // What to store for the text the box holds now: the kept text when it is unchanged,
    // otherwise the box's text with CR LF line breaks.
    QString toStore(const QString &shownNow) const;

private:
    QString m_stored;
    QString m_shown;
    bool m_kept = false;
};

} // namespace quillora
