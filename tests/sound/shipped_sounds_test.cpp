// The committed sounds pass the library's own checks and load.

#include <gtest/gtest.h>

#include <cstdlib>

#include "module1.h"

namespace quolvet {
namespace {

TEST(ShippedSounds, AllFourLoadWithoutAWarning) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    SystemSoundLibrary library;
    std::vector<std::string> warnings;
    Module1 module(library, {QUOLVET_SOUND_SOURCE_DATA}, [&](const std::string& w) { warnings.push_back(w); });
    module.InitSound(0);
    for (const char* name : {"その他.wav", "禁止.wav", "駒打音.wav", "BGM.wav"}) EXPECT_NE(module.LoadSound(name, 3), 0) << name;
    EXPECT_TRUE(warnings.empty());
    module.TermSound();
}

}  // namespace
}  // namespace quolvet
