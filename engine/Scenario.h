#pragma once
// A computation's job read from a scenario file (the benchmark runner's JSON format, see
// bench/README.md): stock rows, part rows, kerf and settings, written into the connected working
// database and computed headless as the main window computes it. The runner and the
// whole-computation test cases share it.
#include "engine/Engine.h"
#include "engine/EngineTypes.h"

#include <QJsonObject>
#include <QString>

class PatternStore;

// Reads the scenario file at path into scenario: the empty text, or why it cannot be read
// ("cannot read …", "scenario: …" with the JSON error and its offset, or that it is no object).
QString ReadScenarioFile(const QString& path, QJsonObject& scenario);

// How the computation of a scenario ended, and its figures.
struct ScenarioOutcome {
    QString invalid;             // what is wrong with the scenario (nothing computed); empty when it ran
    bool badNumber = false;      // invalid names a number that is not a whole number of 32 bits
    QString falseStep;           // CheckInputValue, BeforeCompute or Compute when one returned false
    StopReason reason = StopReason::Running;   // Engine::stopReason() after the last step run
    int16_t Unit = 0;
    int32_t PiecePartTotal = 0;
    int32_t CombinationCount = 0;
    int32_t PatternNo = 0;
    double seconds = 0;          // wall time of the steps of the road (not of writing the input)
};

// Writes the scenario into the connected working database and runs the compute road on it as the
// compute button does (CheckInputValue, BeforeCompute, Compute; the next only after a step returned
// true) with a headless host and progress and the settings of システム設定: the patterns go through
// store (nullptr: the working database), with or without the sheet memo. The message boxes go to
// the handler the caller has set.
ScenarioOutcome RunScenario(const QJsonObject& scenario, PatternStore* store, bool sheetMemo = true);

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
