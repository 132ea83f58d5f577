#include "clinical/rule_tables.h"
#include "clinical/safety_checks.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace quillora;

namespace {

QString u(const char *utf8) { return QString::fromUtf8(utf8); }

const RuleTables &tables() { return RuleTables::standard(); }

QList<AllergyConflict> conflicts(const char *allergy, const char *body)
{
    return allergyConflicts(u(allergy), u(body), tables().classes);
}

QStringList herbTexts(const char *body)
{
    QStringList texts;
    for (const HerbConflict &c : herbConflicts(u(body), tables()))
        texts << herbConflictText(c);
    return texts;
}

// A western sheet of n drugs, each with its usage line and an empty line, as picks write it.
QString westernBody(int drugs)
{
    QString body;
    for (int i = 0; i < drugs; ++i)
        body += u("药品%1 0.25g×24片\r\n    用法：0.5g 口服  每日3次\r\n\r\n").arg(i + 1);
    return body;
}

TEST(RuleTables, CarryTheirSourceAndTheClassicalLists)
{
    EXPECT_EQ(tables().pairSource, u("十八反/十九畏 歌诀"));
    EXPECT_EQ(tables().classSource, u("药物类别表，经本诊所审定"));
    QStringList classNames;
    for (const DrugClass &c : tables().classes)
        classNames << c.name;
    for (const char *name : {"青霉素类", "头孢菌素类", "磺胺类", "喹诺酮类", "大环内酯类", "氨基糖苷类", "解热镇痛类"})
        EXPECT_TRUE(classNames.contains(u(name))) << name;
    int eighteen = 0, nineteen = 0;
    for (const HerbPair &pair : tables().pairs)
        (pair.rhyme == u("十八反") ? eighteen : nineteen)++;
    EXPECT_EQ(eighteen, 3);
    EXPECT_EQ(nineteen, 9);
}

TEST(RuleTables, ParseCommentsAliasesAndBadLines)
{
    const RuleTables parsed = RuleTables::fromTexts(
        u("# 来源：测试\n\n甲类|甲、乙\n没有特征词\n"),
        u("#没有来源\n十八反|甘草(甘草，炙甘草)|海藻、芫花\n只有两段|甘草\n"));
    EXPECT_EQ(parsed.classSource, u("测试"));
    EXPECT_EQ(parsed.pairSource, QString());
    ASSERT_EQ(parsed.classes.size(), 1);
    EXPECT_EQ(parsed.classes[0].patterns, (QStringList{u("甲"), u("乙")}));
    ASSERT_EQ(parsed.pairs.size(), 1);
    EXPECT_EQ(parsed.pairs[0].first[0].names, (QStringList{u("甘草"), u("炙甘草")}));
    EXPECT_EQ(parsed.pairs[0].second[1].names, QStringList{u("芫花")});
    EXPECT_TRUE(parsed.herbPlaces.contains(u("炙甘草")));
}

TEST(RuleTables, LocalRulesAddToTheProgramsOwn)
{
    QTemporaryDir data;
    ASSERT_TRUE(data.isValid());
    EXPECT_EQ(RuleTables::withLocalRules(data.path()).pairs.size(), tables().pairs.size());  // none there
    ASSERT_TRUE(QDir(data.path()).mkpath(kLocalRulesFolder));
    const auto write = [&](const QString &name, const char *text) {
        QFile file(QDir(data.path()).filePath(kLocalRulesFolder + QLatin1Char('/') + name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    };
    write(kLocalPairFile, "# 本诊所补充\n十九畏|川楝子|苦楝皮\n");
    write(kLocalClassFile, "四环素类|环素\n");
    const RuleTables local = RuleTables::withLocalRules(data.path());
    EXPECT_EQ(local.pairSource, tables().pairSource);
    EXPECT_EQ(local.pairs.size(), tables().pairs.size() + 1);
    EXPECT_EQ(herbConflicts(u("川楝子 苦楝皮 甘草 海藻"), local).size(), 2);
    EXPECT_EQ(allergyConflicts(u("四环素"), u("盐酸多西环素片 0.1g\r\n"), local.classes).size(), 1);
}

TEST(AllergyWords, SplitOnEverySeparatorAndIgnoreNone)
{
    EXPECT_EQ(allergyWords(u("青霉素，头孢、磺胺,布洛芬;链霉素；阿司匹林/红霉素 庆大霉素　沙星")),
              (QStringList{u("青霉素"), u("头孢"), u("磺胺"), u("布洛芬"), u("链霉素"), u("阿司匹林"), u("红霉素"),
                           u("庆大霉素"), u("沙星")}));
    for (const char *none : {"未发现", "无", "否认", "否认药物过敏史", "无药物过敏史", "无过敏", "", "  "})
        EXPECT_TRUE(allergyWords(u(none)).isEmpty()) << none;
    EXPECT_EQ(allergyWords(u("青霉素过敏，对头孢过敏")), (QStringList{u("青霉素"), u("头孢")}));
    EXPECT_EQ(allergyWords(u("无味红霉素")), QStringList{u("无味红霉素")});  // a drug, not "none"
    EXPECT_EQ(allergyWords(u("否认，青霉素")), QStringList{u("青霉素")});
}

TEST(AllergyConflicts, ByNameAndByClass)
{
    // The class: 青霉素 names 青霉素类, whose 西林 reaches 阿莫西林.
    EXPECT_EQ(conflicts("青霉素", "阿莫西林胶囊 0.25g×24粒\r\n    用法：0.5g 口服  每日3次\r\n"),
              (QList<AllergyConflict>{{u("青霉素"), {u("阿莫西林胶囊")}}}));
    EXPECT_EQ(conflicts("头孢", "头孢克肟分散片 50mg×12片\r\n"), (QList<AllergyConflict>{{u("头孢"), {u("头孢克肟分散片")}}}));
    // An allergy word inside a longer drug name.
    EXPECT_EQ(conflicts("庆大霉素", "硫酸庆大霉素注射液 8万单位\r\n"),
              (QList<AllergyConflict>{{u("庆大霉素"), {u("硫酸庆大霉素注射液")}}}));
    // A class named by itself, and a drug of the class named by one of its members.
    EXPECT_EQ(conflicts("喹诺酮类", "左氧氟沙星片 0.1g×10片\r\n").size(), 1);
    EXPECT_EQ(conflicts("布洛芬", "阿司匹林肠溶片 100mg×30片\r\n").size(), 1);
    EXPECT_TRUE(conflicts("未发现", "阿莫西林胶囊 0.25g×24粒\r\n头孢克肟分散片\r\n").isEmpty());
    EXPECT_TRUE(conflicts("头孢", "阿莫西林胶囊 0.25g×24粒\r\n").isEmpty());
}

TEST(AllergyConflicts, TwoAllergiesInOneField)
{
    const auto found = conflicts("青霉素、磺胺", "复方磺胺甲噁唑片 0.48g\r\n青霉素钠 80万单位\r\n阿莫西林胶囊\r\n维生素C片\r\n");
    ASSERT_EQ(found.size(), 2);
    EXPECT_EQ(found[0], (AllergyConflict{u("青霉素"), {u("青霉素钠"), u("阿莫西林胶囊")}}));
    EXPECT_EQ(found[1], (AllergyConflict{u("磺胺"), {u("复方磺胺甲噁唑片")}}));
    EXPECT_EQ(allergyTexts(found)[0], u("患者过敏史：青霉素 与 青霉素钠、阿莫西林胶囊 可能冲突"));
}

TEST(AllergyConflicts, UsageLinesAreNotDrugs)
{
    // A usage naming the allergy word is no drug; a herb row is read cell by cell.
    EXPECT_TRUE(conflicts("青霉素", "生理盐水 250ml\r\n    用法：青霉素皮试后静滴\r\n").isEmpty());
    EXPECT_EQ(conflicts("人参", "黄芪10g      人参6g       当归10g\r\n"), (QList<AllergyConflict>{{u("人参"), {u("人参6g")}}}));
}

TEST(HerbPairs, WholeHerbNamesOnly)
{
    EXPECT_EQ(herbTexts("甘草         海藻         "), QStringList{u("十八反：甘草 与 海藻")});
    EXPECT_TRUE(herbTexts("人参         党参         ").isEmpty());
    EXPECT_EQ(herbTexts("附子         半夏         "), QStringList{u("十八反：附子 与 半夏")});
    EXPECT_TRUE(herbTexts("白附子       半夏         ").isEmpty());
    // Doses, processed names and notes in brackets still name the herb.
    EXPECT_EQ(herbTexts("炙甘草10g    黄芪15g\r\n\r\n海藻12g(后下)"), QStringList{u("十八反：炙甘草 与 海藻")});
    EXPECT_EQ(herbTexts("制附子9g     法半夏9g     浙贝母10g"),
              (QStringList{u("十八反：制附子 与 法半夏"), u("十八反：制附子 与 浙贝母")}));
    EXPECT_EQ(herbTexts("丁香 郁金 人参 五灵脂 藜芦"),
              (QStringList{u("十八反：藜芦 与 人参"), u("十九畏：丁香 与 郁金"), u("十九畏：人参 与 五灵脂")}));
    EXPECT_EQ(herbTexts("甘草、海藻，人参"), QStringList{u("十八反：甘草 与 海藻")});
    // A western line naming a herb inside a longer drug name is none of them.
    EXPECT_TRUE(herbTexts("复方甘草片 100片\r\n海藻酸钠 1g\r\n").isEmpty());
}

TEST(DrugCount, FiveAllowedSixWarnUsageNotCounted)
{
    EXPECT_EQ(drugCount(westernBody(5)), 5);
    EXPECT_EQ(drugCount(westernBody(6)), 6);
    EXPECT_EQ(drugCount(u("\r\n   \r\n    用法：口服\r\n用法：口服 每日3次\r\n")), 0);
    const auto warns = [](const QString &kind, const QString &body) {
        return sheetWarnings({kind, u("5岁"), u("未发现"), body}, kAllChecksOn);
    };
    EXPECT_TRUE(warns(u("普通"), westernBody(5)).isEmpty());
    const auto six = warns(u("普通"), westernBody(6));
    ASSERT_EQ(six.size(), 1);
    EXPECT_EQ(six[0].check, SafetyCheck::DrugCount);
    EXPECT_TRUE(six[0].text.startsWith(u("每张处方不得超过5种药品")));
    EXPECT_EQ(warns(u("儿科"), westernBody(6)).size(), 1);
    EXPECT_TRUE(warns(u("中医"), westernBody(6)).isEmpty());  // a TCM sheet holds its herbs
}

TEST(SheetWarnings, ChildWithoutAgeAndSwitchedOffChecks)
{
    const SheetFacts sheet{u("儿科"), u(" "), u("青霉素"), u("阿莫西林胶囊\r\n甘草 海藻\r\n") + westernBody(5)};
    const auto all = sheetWarnings(sheet, kAllChecksOn);
    QList<SafetyCheck> checks;
    for (const SafetyWarning &w : all)
        checks << w.check;
    EXPECT_EQ(checks, (QList<SafetyCheck>{SafetyCheck::Allergy, SafetyCheck::HerbPairs, SafetyCheck::DrugCount,
                                          SafetyCheck::ChildAge}));
    EXPECT_EQ(all.last().text, u("儿科处方未填写年龄"));
    EXPECT_TRUE(warningStripText(all).startsWith(u("用药安全提示（4项）：患者过敏史：青霉素 与 阿莫西林胶囊 可能冲突；十八反")));
    EXPECT_TRUE(printQuestion(all).endsWith(u("是否仍然打印？")));
    for (int off = 0; off < kSafetyCheckCount; ++off) {
        SafetySwitches switches = kAllChecksOn;
        switches[off] = false;
        for (const SafetyWarning &w : sheetWarnings(sheet, switches))
            EXPECT_NE(static_cast<int>(w.check), off);
        EXPECT_EQ(sheetWarnings(sheet, switches).size(), 3);
    }
    EXPECT_TRUE(sheetWarnings(sheet, SafetySwitches{false, false, false, false}).isEmpty());
    EXPECT_EQ(warningStripText({}), QString());
}

} // namespace
