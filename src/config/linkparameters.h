#pragma once

#include <QString>

// The one program-wide record of what the settings files held at start-up.
// Panels change a field only through its store function below.
struct LinkParameters
{
    QString port;
    QString baud;
    QString ipAddress;
    QString netPort;
    int langType = 0;
    int matrixId = 1;
    int connectType = 0;
    int audio = 0;
    int type = 0;
};

// Reads the settings files into a fresh record, applying the defaults.
LinkParameters readLinkParameters();

// Filled from the settings files on the first call, never re-read.
LinkParameters &linkParameters();

// Each changes one setting in the record and in its file together, so the
// two cannot disagree.
void storeLangType(int code);
void storeMatrixId(int id);
void storeAudio(int type);
void storePort(const QString &port);
void storeBaud(const QString &baud);
