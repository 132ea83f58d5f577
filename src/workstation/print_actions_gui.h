#pragma once

#include "printing/paper_size.h"
#include "workstation/workstation_areas.h"

#include <QObject>

namespace quillora {

class PrescriptionEditor;
class Workspace;
struct InjectionCardContent;
struct SheetContent;

// The printed documents of the main window: the whole sheet, the overlay on preprinted
// sheets and the injection card, each also as a print preview.
class PrintActions : public QObject
{
    Q_OBJECT

public:
    PrintActions(Workspace &workspace, const WorkstationAreas &areas, PrescriptionEditor &editor, QObject *parent = nullptr);

    SheetContent sheetContent() const;
    InjectionCardContent injectionCardContent() const;

    bool printSheet();
    bool printOverlay();
    bool printInjectionCard();
    void previewSheet();
    void previewOverlay();
    void previewInjectionCard();

private:
    QString scratchPath() const;
    PaperSize paper() const;
    Workspace &m_workspace;
    WorkstationAreas m_areas;
    PrescriptionEditor &m_editor;
};

} // namespace quillora
