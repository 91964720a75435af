#pragma once

#include <QString>

// A history store of a few laundries read over several years, for the picture of the sites window.
// Records them in the user's default store (the data folder QDSYSTEM_DATA names); false, with the reason
// printed, when the store refuses them.
bool RecordSampleHistory(const QString& systemFile);
