// When the document-dependent commands are enabled and checked.
//
// A plain function of the state it depends on, so the rules can be checked
// without windows; CMainFrame::updateActions() feeds it and applies the result.
#pragma once

enum class ViewKind { Model, Report, Results };

struct CommandContext {
    bool hasDocumentWindow = false;
    bool documentHasPath = false;
    bool unsavedEdits = false;
    int runState = 0;
    int lastMethodIndex = -1;
    int selectedMethodIndex = -1;  // methodCombo; -1 when nothing is selected
    ViewKind activeView = ViewKind::Model;
    bool calcBarVisible = true;
};

struct CommandStatus {
    bool enabled = true;
    bool checked = false;
};

// Status of the analysis, window, method and calculation-toolbar commands;
// any other id is reported enabled and unchecked.
CommandStatus commandStatus(int commandId, const CommandContext& context);
