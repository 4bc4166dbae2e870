#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "sound_library.h"

namespace quolvet {

// The sound module: opens the device, loads sound files, closes the device, and reports
// sound problems as warnings (the main window decides how a warning is shown).
class Module1 {
public:
    using Warning = std::function<void(const std::string& text)>;

    // A sound file is looked up by bare name in the current directory first, then in each
    // of `dataFolders` in turn.
    Module1(SoundLibrary& library, std::vector<std::filesystem::path> dataFolders, Warning showWarning);

    int32_t soundDevice = 0;

    void InitSound(int32_t windowHandle);
    int32_t LoadSound(const std::string& fileName, int32_t flags);
    void TermSound();
    void ShowSoundError(const std::string& message);

    SoundLibrary& library() { return library_; }

private:
    SoundLibrary& library_;
    std::vector<std::filesystem::path> dataFolders_;
    Warning showWarning_;
};

}  // namespace quolvet
