#pragma once

#include <QString>
#include <QStringList>
#include <array>

namespace quillora {

constexpr int kHeaderFieldCount = 17;
constexpr int kGridRows = 24;
constexpr int kInfusionRows = 14;

// Header field indexes that other code names.
enum HeaderField {
    FieldName = 0, FieldSex = 1, FieldAge = 2, FieldFeeClass = 3, FieldCardNumber = 4, FieldDepartment = 5,
    FieldAddress = 6, FieldPhone = 7, FieldDiagnosis = 8, FieldDate = 9, FieldDoctor = 10, FieldDispenser = 11,
    FieldChecker = 12, FieldDrugFee = 13, FieldOtherFee = 14, FieldAllergy = 15, FieldPastHistory = 16
};

// The five columns of the price grid, in stored order.
enum GridColumn { GridName = 0, GridQuantity, GridUnit, GridPrice, GridAmount, GridColumnCount };

// Captions of the header fields as the sheet shows them ("姓名：").
const std::array<QString, kHeaderFieldCount> &headerFieldCaptions();

// One visit as the window holds it and one row of the visit table stores it.
struct VisitRecord
{
    std::array<QString, kHeaderFieldCount> header;  // columns 0–16; the date as typed or stored
    QString title;          // C1: 普通处方笺 / 儿科处方笺 / 中医处方笺
    QString kind;           // C2: 普通 / 儿科 / 中医
    QString body;           // T1, lines separated by CR LF
    QString injectionCard;  // T2
    QString history;        // T3
    std::array<QStringList, GridColumnCount> grid;  // T9–T13, 24 entries each
    QString doses;          // 28
    QString total;          // 29
    QString key;            // 名称: the visit key yyyy-mm-dd hh:mm:ss

    // Every grid column with exactly 24 rows.
    void fitGrid();
};

// The infusion execution card's share of a visit (T4–T8), written by the card window.
struct InfusionCardLists
{
    QStringList header;   // T4: the card's seven header fields
    QStringList names;    // T5
    QStringList speeds;   // T6
    QStringList times;    // T7
    QStringList nurses;   // T8
};

} // namespace quillora
