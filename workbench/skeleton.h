// Starting texts for new network definitions: the default skeleton and the
// skeleton the MiniWizard builds from its fields.
#pragma once

#include <QString>

struct WizardValues {
    int networkKind = 0;  // 0 closed, 1 open
    QString networkName;
    uint classCount = 1;    // 1..32
    uint stationCount = 1;  // 1..999
    bool withSchedules = true;
    bool withComments = true;
};

// The text a new model document starts with until the wizard has run.
QString defaultSkeleton();

// The wizard's skeleton: CR LF after every line but the last "*END*".
QString skeletonText(const WizardValues& v);
