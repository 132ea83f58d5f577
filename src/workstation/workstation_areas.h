#pragma once

namespace quillora {

class ActionBarWidget;
class DrugEntryWidget;
class HeaderEntry;
class HistoryAreaWidget;
class InjectionCardWidget;
class PriceGridWidget;
class SafetyStripWidget;
class SheetWidget;
class TemplatePickerWidget;
class UsagePresetsWidget;
class VisitBrowserWidget;

// The areas of the main window, handed to the controllers that work on them.
struct WorkstationAreas
{
    SheetWidget *sheet = nullptr;
    InjectionCardWidget *card = nullptr;
    PriceGridWidget *grid = nullptr;
    VisitBrowserWidget *browser = nullptr;
    DrugEntryWidget *drugs = nullptr;
    HistoryAreaWidget *history = nullptr;
    TemplatePickerWidget *templates = nullptr;
    ActionBarWidget *actions = nullptr;
    UsagePresetsWidget *presets = nullptr;
    HeaderEntry *header = nullptr;
    SafetyStripWidget *safety = nullptr;
};

} // namespace quillora
