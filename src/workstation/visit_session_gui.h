#pragma once

#include "data/visit_record.h"
#include "workstation/header_rules.h"
#include "printing/visit_source.h"
#include "workstation/workstation_areas.h"

#include <QObject>

class QLabel;

namespace quillora {

class PrescriptionEditor;
class Workspace;

// The life of the visit on screen: new, repeat, save, load from the result list, delete.
class VisitSession : public QObject, public VisitSource
{
    Q_OBJECT

public:
    VisitSession(Workspace &workspace, const WorkstationAreas &areas, PrescriptionEditor &editor, QObject *parent = nullptr);

    QString key() const { return m_key; }

    // What the card windows read.
    QString institution() const override;
    std::array<QString, kHeaderFieldCount> headerFields() const override;
    QString visitKey() const override { return m_key; }
    QString body() const override;
    QString history() const override;
    bool saveVisit() override;
    // The window's visit as it would be saved.
    VisitRecord currentVisit() const;

    void newVisit();
    void repeatVisit();
    void loadVisit(int index, const QString &key);
    void deleteVisit(int index);

private:
    void showVisit(const VisitRecord &visit);
    void clearGrid();

    Workspace &m_workspace;
    WorkstationAreas m_areas;
    PrescriptionEditor &m_editor;
    VisitKeys m_keys;
    QString m_key;
    bool m_keyStored = false;  // the key is a stored visit's (loaded or saved from here)
    int m_listPosition = -1;
};

} // namespace quillora
