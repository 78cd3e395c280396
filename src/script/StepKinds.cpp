// The table of step kinds, and the type keys and display names of the file
// format. Rows come from the families; this file only knows the ids and
// their names, and which table is installed.
#include "script/StepKinds.h"

#include <cassert>

namespace ovrix {

namespace {

constexpr StepNames kNames[kMaxTypeId + 1] = {
    {},                                                       // 0
    {u"OpenFile", u"Open File"},                              // 1
    {u"SearchPic", u"Search Picture"},                        // 2
    {u"DragMouse", u"Drag Mouse"},                            // 3
    {u"MoveMouse", u"Move Mouse"},                            // 4
    {u"MouseClick", u"Mouse Click"},                          // 5
    {u"Else", u"Else"},                                       // 6
    {u"EndIf", u"End If"},                                    // 7
    {u"ForLoop", u"For Loop"},                                // 8
    {u"Next", u"Next"},                                       // 9
    {u"ContinueFor", u"Continue For"},                        // 10
    {u"ExitFor", u"Exit For"},                                // 11
    {u"MousePos", u"Mouse Position"},                         // 12
    {u"MsgBox", u"MsgBox"},                                   // 13
    {u"MouseEvent", u"Mouse Event"},                          // 14
    {u"Keystroke", u"Keystroke"},                             // 15
    {u"InputText", u"Input Text"},                            // 16
    {u"KeyDown", u"Key Down"},                                // 17
    {u"KeyUp", u"Key Up"},                                    // 18
    {u"PlayRecord", u"Play Record"},                          // 19
    {u"Shutdown", u"Shutdown"},                               // 20
    {},                                                       // 21
    {},                                                       // 22
    {u"PlayScript", u"Play Script"},                          // 23
    {u"Wait", u"Wait"},                                       // 24
    {},                                                       // 25 LabelEvent
    {},                                                       // 26 GoToEvent
    {u"CloseWin", u"Close Window"},                           // 27
    {u"SwitchWin", u"Switch Window"},                         // 28
    {u"WaitWin", u"Wait Window"},                             // 29
    {},                                                       // 30 ResetScriptEvent
    {u"PlayRandom", u"Play Random"},                          // 31
    {},                                                       // 32 PosRandomEvent
    {u"SetVar", u"Set Variable"},                             // 33
    {u"CallFun", u"Call Function"},                           // 34
    {u"AddValue", u"Add Value"},                              // 35
    {u"IfVar", u"If Variable"},                               // 36
    {},                                                       // 37 OpenWebEvent
    {},                                                       // 38 CopyFileEvent
    {},                                                       // 39 DelFileEvent
    {},                                                       // 40 IfFileExistEvent
    {},                                                       // 41 StopScriptEvent
    {},                                                       // 42 ExitScriptEvent
    {u"Comment", u"Comment"},                                 // 43
    {u"RemoveVar", u"Remove Variable"},                       // 44
    {u"CustomFun", u"Custom Function"},                       // 45
    {u"FunStart", u"Function Start"},                         // 46
    {u"FunEnd", u"Function End"},                             // 47
    {u"Alias", u"Alias"},                                     // 48
    {u"GetScriptArg", u"GetScriptArg"},                       // 49
    {},                                                       // 50 SwitchEvent
    {},                                                       // 51 EndSwitchEvent
    {},                                                       // 52 SwitchCaseEvent
    {},                                                       // 53 SwitchDefaultEvent
    {u"SetWinMsgHandler", u"Set Window Message Handler"},     // 54
    {u"SetWinCmdHandler", u"Set Window Command Handler"},     // 55
    {},                                                       // 56
    {u"CreateThread", u"Create Thread"},                      // 57
};

// Ids the table never holds, whatever a family adds.
bool IsUnusedId(uint32_t typeId) { return typeId == 0 || typeId == 21 || typeId == 22 || typeId == 56; }

const StepKinds* installed = nullptr;

}  // namespace

void StepKinds::Add(const StepKind& kind) {
    assert(kind.typeId <= kMaxTypeId && !IsUnusedId(kind.typeId));
    if (kind.typeId > kMaxTypeId || IsUnusedId(kind.typeId)) return;
    assert(rows_[kind.typeId].typeId == 0);
    rows_[kind.typeId] = kind;
}

StepNames StepNamesOf(uint32_t typeId) {
    if (typeId > kMaxTypeId) return {};
    return kNames[typeId];
}

const StepKinds& CurrentStepKinds() {
    static const StepKinds none;
    return installed != nullptr ? *installed : none;
}

const StepKinds* InstallStepKinds(const StepKinds* kinds) {
    const StepKinds* previous = installed;
    installed = kinds;
    return previous;
}

Ref<Event> CreateEvent(uint32_t typeId) {
    const StepKind* kind = CurrentStepKinds().Find(typeId);
    return kind != nullptr && kind->create != nullptr ? kind->create() : nullptr;
}

}  // namespace ovrix
