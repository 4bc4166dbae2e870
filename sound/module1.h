#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "sound_library.h"

namespace quolvet {

// Where the game's sounds are looked for after the current directory: the folder of the
// running program, then the installed data folder.
std::vector<std::filesystem::path> soundDataFolders();

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
    std::optional<std::filesystem::path> findSoundFile(const std::string& fileName) const;

    SoundLibrary& library_;
    std::vector<std::filesystem::path> dataFolders_;
    Warning showWarning_;
};

}  // namespace quolvet
