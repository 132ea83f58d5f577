#include "dictionaries/kept_text.h"

#include "text/text_lines.h"

namespace quillora {

void KeptText::keep(const QString &stored, const QString &shown)
{
    m_stored = stored;
    m_shown = shown;
    m_kept = true;
}

QString KeptText::toStore(const QString &shownNow) const
{
    return m_kept && shownNow == m_shown ? m_stored : toCrLf(shownNow);
}

} // namespace quillora
