#include "recording_seams.h"

#include <fstream>

#include <unistd.h>


namespace quolvet::testing {

std::filesystem::path makeSoundFolder() {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("quolvet-sounds-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    for (const char* name : {"その他.wav", "禁止.wav", "駒打音.wav", "BGM.wav"}) {
        std::ofstream(folder / name, std::ios::binary) << name;
    }
    return folder;
}

}  // namespace quolvet::testing
