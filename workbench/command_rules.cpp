#include "workbench/command_rules.h"

#include "workbench/command_ids.h"

CommandStatus commandStatus(int commandId, const CommandContext& c) {
    using namespace Command;
    const bool canRun = c.hasDocumentWindow && c.documentHasPath && !c.unsavedEdits;
    switch (commandId) {
        case SyntaxAnalysis:
            // Offered once after each change: a successful run sets runState.
            return {canRun && c.runState == 0, false};
        case NetworkAnalysis:
            // Offered once per chosen method after each change.
            return {canRun && c.selectedMethodIndex != -1 && c.selectedMethodIndex != c.lastMethodIndex, false};
        case WindowReport:
            return {c.hasDocumentWindow && c.runState != 0, c.hasDocumentWindow && c.activeView == ViewKind::Report};
        case WindowResults:
            return {c.hasDocumentWindow && c.runState == 2, c.hasDocumentWindow && c.activeView == ViewKind::Results};
        case WindowModel: return {c.hasDocumentWindow, c.hasDocumentWindow && c.activeView == ViewKind::Model};
        case ViewCalcBar: return {true, c.calcBarVisible};
        default:
            if (commandId >= MethodFirst && commandId <= MethodLast)
                return {true, c.selectedMethodIndex + MethodFirst == commandId};
            return {true, false};
    }
}
