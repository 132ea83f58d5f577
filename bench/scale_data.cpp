#include "scale_data.h"

#include "data/data_files.h"
#include "data/database.h"
#include "data/dictionary_store.h"
#include "data/patient_store.h"
#include "data/visit_store.h"
#include "text/pinyin.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <cstdio>
#include <random>

namespace quillora::bench {

namespace {

const QString kSurnames = QStringLiteral("王李张刘陈杨黄赵吴周徐孙马朱胡郭何高林罗郑梁谢宋唐许韩冯邓曹彭曾肖田董袁潘于蒋蔡余杜叶程苏魏吕丁任沈姚卢姜崔钟谭陆汪范金石廖贾夏韦付方白邹孟熊秦邱江尹薛闫段雷侯龙史陶黎贺顾毛郝龚邵万钱严覃武戴莫孔向汤");
const QString kGivens = QStringLiteral("伟芳娜秀英敏静丽强磊军洋勇艳杰娟涛明超秀兰霞平刚桂英华玉萍红娥玲芬燕彬鹏辉建国丹萍文斌宇浩凯鑫");
const QString kDrugStems = QStringLiteral("阿莫西林头孢克肟布洛芬复方甘草维生素氯化钠葡萄糖青霉素庆大霉素地塞米松板蓝根感冒清热颗粒双黄连口服液银翘解毒丸");
const QStringList kCategories{QStringLiteral("西药"), QStringLiteral("抗生素"), QStringLiteral("中成药"),
                              QStringLiteral("中药"), QStringLiteral("针剂"), QStringLiteral("输液")};
const QString kPlaceChars = QStringLiteral("东西南北中新安平和顺河山田家村镇乡街路桥湾坪岭寨");
const QString kDiseaseChars = QStringLiteral("急慢性上呼吸道感染支气管炎胃肠高血压糖尿病头痛咳嗽发热腹泻皮疹关节");

QChar pick(const QString &pool, std::mt19937 &random) { return pool[int(random() % pool.size())]; }

QString pickText(const QString &pool, int length, std::mt19937 &random)
{
    QString text;
    for (int i = 0; i < length; ++i)
        text += pick(pool, random);
    return text;
}

void fillSettings(Database &settings, const Scale &scale, std::mt19937 &random)
{
    Transaction t(settings);
    Statement drug(settings, QStringLiteral("INSERT INTO [药品] ([拼音], [名称], [分类], [数量], [单位], [单价]) VALUES (?, ?, ?, ?, ?, ?)"));
    for (int i = 0; i < scale.drugs(); ++i) {
        const QString name = pickText(kDrugStems, 2 + int(random() % 4), random) + QStringLiteral("%1 0.25g×24片").arg(i);
        drug.bind(1, pinyinCode(name)).bind(2, name).bind(3, kCategories[i % kCategories.size()]);
        drug.bind(4, QStringLiteral("2")).bind(5, QStringLiteral("盒")).bind(6, 1.5 + i % 40);
        drug.run();
        drug.reset();
    }
    for (int i = 0; i < scale.nameListEntries(); ++i) {
        DictionaryStore::insertNameListEntry(settings, QStringLiteral("诊断"), pickText(kDiseaseChars, 3 + int(random() % 4), random));
        DictionaryStore::insertNameListEntry(settings, QStringLiteral("地址"),
                                             pickText(kPlaceChars, 2, random) + QStringLiteral("村%1组").arg(i % 30));
    }
    for (int i = 0; i < scale.orderSets(); ++i)
        DictionaryStore::insertOrderSet(settings, pickText(kDiseaseChars, 4, random) + QString::number(i),
                                        i % 3 ? QStringLiteral("个人组套") : QStringLiteral("中医验方"),
                                        QStringLiteral("阿莫西林胶囊 0.25g×24粒\r\n    用法：0.5g 口服  每日3次"));
    for (int i = 0; i < scale.templates(); ++i)
        DictionaryStore::insertHistoryTemplate(settings, pickText(kDiseaseChars, 4, random) + QString::number(i),
                                               QStringLiteral("主诉：咳嗽三天。"));
    t.commit();
}

QString ageOf(int patient) { return QStringLiteral("%1岁").arg(1 + patient % 90); }

void fillArchive(Database &archive, const Scale &scale, const QDate &today, std::mt19937 &random)
{
    Transaction t(archive);
    const int year = today.year();
    Statement patient(archive, QStringLiteral("INSERT INTO [患者信息] ([序号], [出生年月], [姓名], [性别], [费别], [医疗证号], [诊断], [住址], [过敏史], [既往史], [电话]) "
                                              "VALUES (?, ?, ?, ?, '自费', '', '上呼吸道感染', '东村3组', '', '', '')"));
    for (int i = 0; i < scale.patients(); ++i) {
        const QString name = generatedPatientName(i);
        patient.bind(1, patientKey(name, ageOf(i), year)).bind(2, patientBirthYear(ageOf(i), year)).bind(3, name);
        patient.bind(4, i % 2 ? QStringLiteral("男") : QStringLiteral("女"));
        patient.run();
        patient.reset();
    }
    Statement visit(archive, QStringLiteral("INSERT INTO [档案] ([名称], [0], [1], [2], [3], [6], [8], [9], [10], [13], [14], [29], [C1], [C2], [T1]) "
                                            "VALUES (?, ?, ?, ?, '自费', '东村3组', '上呼吸道感染', ?, '医生', ?, '0', ?, '普通处方笺', '普通', ?)"));
    const QString body = QStringLiteral("阿莫西林胶囊 0.25g×24粒\r\n    用法：0.5g 口服  每日3次\r\n\r\n布洛芬片 0.1g×24片\r\n    用法：0.2g 口服  每日3次\r\n\r\n");
    const int days = 3650;
    const int perDay = (scale.visits() + days - 1) / days;
    for (int i = 0; i < scale.visits(); ++i) {
        const QDate date = today.addDays(-(days - 1) + i / perDay);
        const int second = (i % perDay) * 20;  // every twenty seconds from eight o'clock
        const QString key = date.toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral(" %1:%2:%3")
                                .arg(8 + second / 3600, 2, 10, QLatin1Char('0'))
                                .arg(second / 60 % 60, 2, 10, QLatin1Char('0'))
                                .arg(second % 60, 2, 10, QLatin1Char('0'));
        const int who = int(random() % scale.patients());
        visit.bind(1, key).bind(2, generatedPatientName(who)).bind(3, who % 2 ? QStringLiteral("男") : QStringLiteral("女"));
        visit.bind(4, ageOf(who)).bind(5, date.toString(QStringLiteral("yyyy-MM-dd")));
        visit.bind(6, QStringLiteral("23.5")).bind(7, QStringLiteral("23.5")).bind(8, body);
        visit.run();
        visit.reset();
    }
    t.commit();
}

} // namespace

void fillScaledStores(Database &settings, Database &archive, const Scale &scale, const QDate &today)
{
    std::mt19937 random(20261209u + unsigned(scale.factor));
    fillSettings(settings, scale, random);
    fillArchive(archive, scale, today, random);
}

QString generatedPatientName(int i)
{
    // A spread of common names: surname, then one or two given characters.
    const int s = i % kSurnames.size();
    const int g = (i / kSurnames.size()) % kGivens.size();
    const int h = (i / (kSurnames.size() * kGivens.size())) % (kGivens.size() + 1);
    QString name = kSurnames.mid(s, 1) + kGivens.mid(g, 1);
    if (h > 0)
        name += kGivens.mid(h - 1, 1);
    return name;
}

QString scaleProgramFolder(const Scale &scale)
{
    // Beside the benchmark's own executable, whether or not an application object exists yet.
    const QString programDir = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath().section(QLatin1Char('/'), 0, -2);
    const QString folder = programDir + QStringLiteral("/bench-data/scale-%1x").arg(scale.factor);
    const QString dataFolder = folder + QLatin1Char('/') + QStringLiteral("档案数据库");
    const QString done = folder + QStringLiteral("/generated");
    if (QFile::exists(done))
        return folder;
    QDir(folder).removeRecursively();
    QDir().mkpath(dataFolder);
    QElapsedTimer timer;
    timer.start();
    {
        DataFiles files(dataFolder);
        files.createMissing();
        files.open();
        fillScaledStores(files.settings(), files.archive(), scale, QDate::currentDate());
        files.close();
    }
    QFile marker(done);
    marker.open(QIODevice::WriteOnly);
    marker.write(QDate::currentDate().toString(Qt::ISODate).toUtf8());
    std::fprintf(stderr, "generated the %dx archive (%d drugs, %d patients, %d visits) in %.1f s\n", scale.factor,
                 scale.drugs(), scale.patients(), scale.visits(), timer.elapsed() / 1000.0);
    return folder;
}

VisitRecord benchmarkVisit(int i)
{
    VisitRecord visit;
    visit.header[FieldName] = QStringLiteral("测试%1").arg(i);
    visit.header[FieldSex] = QStringLiteral("男");
    visit.header[FieldAge] = QStringLiteral("35岁");
    visit.header[FieldDate] = QStringLiteral("2099-01-01");
    visit.body = QStringLiteral("阿莫西林胶囊 0.25g×24粒\r\n    用法：0.5g 口服  每日3次\r\n");
    visit.key = QStringLiteral("2099-01-01 08:00:%1").arg(i % 60, 2, 10, QLatin1Char('0'));
    visit.fitGrid();
    return visit;
}

void takeOutBenchmarkVisit(Database &archive, const VisitRecord &visit)
{
    VisitStore(archive).remove(visit.key);
    if (auto patient = PatientStore(archive).byKey(patientKey(visit.header[FieldName], visit.header[FieldAge], 2026)))
        archive.deleteWhere(QStringLiteral("患者信息"), QStringLiteral("rowid"), patient->rowId);
}

} // namespace quillora::bench
