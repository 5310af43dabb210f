#pragma once

#include "link/matrixid.h"

#include <QString>

// Accessors for "AppConfig.ini" and "UserData.ini" in the working directory.
// Each call opens the file for its own duration; setters are on disk on return.

namespace Settings {
// The most channels a side can have; the grids and the alias store are sized by it.
constexpr int MaxChannels = 64;
// What "incount"/"outcount" read as when absent or 0.
constexpr int DefaultChannels = 16;
// Matrix IDs run from 0 to this; a stored ID outside them means the default.
constexpr int MaxMatrixId = MatrixId::Max;
constexpr int DefaultMatrixId = 1;
// "audio" runs from 0 (All) to this (EDID).
constexpr int LastSwitchType = 3;
} // namespace Settings

// A matrix ID is a whole number from 0 to Settings::MaxMatrixId, written in
// digits only; false, and id untouched, for anything else.
bool parseMatrixId(const QString &text, int *id);
// The ID that text stands for, or Settings::DefaultMatrixId.
int matrixIdOrDefault(const QString &text);

int getLangType();
void setLangType(int value);
int getType();
void setType(int value);
int getMatrix();
void setMatrix(int value);
int getInCount();
void setInCount(int value);
int getOutCount();
void setOutCount(int value);

int getMatrixId();
void setMatrixId(int value);
int getAudio();
void setAudio(int value);
QString getPort();
void setPort(const QString &value);
QString getBaud();
void setBaud(const QString &value);
int getConnectType();
void setConnectType(int value);
QString getIPAdd();
void setIPAdd(const QString &value);
QString getNetPort();
void setNetPort(const QString &value);

// The text "UserData.ini" holds under key, as stored; empty when absent.
QString getUserDataText(const QString &key);

int getPollInBegin();
void setPollInBegin(int value);
int getPollInEnd();
void setPollInEnd(int value);
int getPollOutStart();
void setPollOutStart(int value);
int getPollOutEnd();
void setPollOutEnd(int value);
int getPollSleep();
void setPollSleep(int value);
int getTimingStart();
void setTimingStart(int value);
int getTimingEnd();
void setTimingEnd(int value);
int getTimingOut();
void setTimingOut(int value);
int getTimingSleep();
void setTimingSleep(int value);
