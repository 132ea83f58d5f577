#pragma once

#include "data/drug_store.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace quillora {

// A named block of a seed file: an order set, a formula or a history template.
struct SeedBlock
{
    QString name;
    QString kind;     // 个人组套 / 中医验方; empty for history templates
    QString content;  // lines joined by CR LF
};

// Readers of the readable seed files a new installation is filled from.
namespace SeedData {
// drugs.tsv: a header line, then 名称, 分类, 数量, 单位, 单价 separated by tabs.
QList<DrugRow> parseDrugs(const QString &text);
// One entry per non-empty line.
QStringList parseLines(const QString &text);
// Blocks opened by "## 名称|分类" (or "## 名称"); trailing empty lines dropped.
QList<SeedBlock> parseBlocks(const QString &text);
// The text of a compiled-in seed file (":/seed/…").
QString resourceText(const QString &name);
} // namespace SeedData

} // namespace quillora
