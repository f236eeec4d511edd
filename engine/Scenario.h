#pragma once
// A computation's job read from a scenario file (the benchmark runner's JSON format, see
// bench/README.md): stock rows, part rows, kerf and settings, written into the connected working
// database so that a headless run computes it as the main window would. The runner and the
// whole-computation test cases share it.
#include "engine/EngineTypes.h"

#include <QJsonObject>
#include <QString>

// Replaces 母材, 部材 and 設定 of the connected working database with the scenario's rows (numbered
// 1..n in order) and sets the columns of システム設定 it names. Returns the empty text, or what is
// wrong with the scenario (nothing of the job is then complete); badNumber tells a number that is
// not a whole number of 32 bits (checked before anything is written) from a scenario of the wrong form.
QString WriteScenarioInput(const QJsonObject& scenario, bool* badNumber = nullptr);

// The scenario's kerf width and colour; call after WriteScenarioInput accepted the scenario.
int32_t ScenarioKerfWidth(const QJsonObject& scenario);
int32_t ScenarioKerfColour(const QJsonObject& scenario);

// The settings of a computation as the working database's システム設定 row holds them (the
// defaults of SystemSettings when there is no row).
SystemSettings ReadSystemSettings();
