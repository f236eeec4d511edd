// Resetting the visible results when the user stops a computation.
#include "engine/Engine.h"
#include "engine/PatternStore.h"

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
        std::unique_ptr<PatternStore> own;
        step([&] { patternStore(own).Discard(); });
        step([&] { host().detachPatternList(); });
    }
}
