// Resetting the visible results when the user stops a computation.
#include "engine/Engine.h"
#include "foundation/Globals.h"
#include "foundation/cDao.h"

void Engine::ClearPatternResults(bool discard)
{
    // Every step runs even when an earlier one failed.
    auto step = [](auto&& f) {
        try {
            f();
        } catch (...) {
        }
    };
    step([&] { host().disableListCommands(); });
    step([&] { progress().updateProgress1(0); });
    step([&] { progress().updateProgress2(0); });
    if (discard) {
        step([] { gDao().Execute(QStringLiteral("DELETE FROM パターンリスト"), dbFailOnError); });
        step([] { gDao().Execute(QStringLiteral("DELETE FROM パターン"), dbFailOnError); });
        step([&] { host().detachPatternList(); });
    }
}
