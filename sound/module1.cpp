#include "module1.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <optional>
#include <span>
#include <system_error>

namespace quolvet {
namespace {

struct Unmap {
    size_t size = 0;
    void operator()(uint8_t* at) const { ::munmap(at, size); }
};

// The whole file, or the system's word for why it could not be read. A regular file is mapped
// rather than read: the sound library takes its own copy anyway, and here every page a copy
// touches first costs a fault of its own (the music is some 700 pages).
struct FileBytes {
    std::unique_ptr<uint8_t, Unmap> mapped;
    std::vector<uint8_t> read;
    std::string error;

    std::span<const uint8_t> bytes() const {
        return mapped ? std::span<const uint8_t>(mapped.get(), mapped.get_deleter().size) : std::span<const uint8_t>(read);
    }
};

std::string systemText(int error) { return std::strerror(error); }

// What cannot be mapped (an empty file, a pipe, a folder) is read, or refused with the reason.
void readAll(int fd, FileBytes& file) {
    size_t filled = 0;
    for (;;) {
        if (filled == file.read.size()) file.read.resize(filled + 65536);
        const ssize_t got = ::read(fd, file.read.data() + filled, file.read.size() - filled);
        if (got == 0) break;
        if (got < 0 && errno == EINTR) continue;
        if (got < 0 || filled + size_t(got) > UINT32_MAX) {
            file.error = systemText(got < 0 ? errno : EFBIG);
            break;
        }
        filled += size_t(got);
    }
    file.read.resize(file.error.empty() ? filled : 0);
}

FileBytes readWholeFile(const std::filesystem::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return {nullptr, {}, systemText(errno)};
    FileBytes file;
    struct stat info {};
    const bool mappable = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0 && info.st_size <= UINT32_MAX;
    void* at = mappable ? ::mmap(nullptr, size_t(info.st_size), PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0) : MAP_FAILED;
    if (at != MAP_FAILED) {
        file.mapped = {static_cast<uint8_t*>(at), Unmap{size_t(info.st_size)}};
    } else {
        readAll(fd, file);
    }
    ::close(fd);
    return file;
}

bool isThere(const std::filesystem::path& path) {
    std::error_code ignored;
    return std::filesystem::exists(path, ignored);
}

}  // namespace

std::vector<std::filesystem::path> soundDataFolders() {
    std::vector<std::filesystem::path> folders;
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error) {
        folders.push_back(program.parent_path());
        // An installed tree unpacked somewhere else keeps its sounds beside its bin folder.
        folders.push_back(program.parent_path().parent_path() / "share" / "quolvet");
    }
#ifdef QUOLVET_SOUND_DATADIR
    folders.emplace_back(QUOLVET_SOUND_DATADIR);
#endif
    return folders;
}

Module1::Module1(SoundLibrary& library, std::vector<std::filesystem::path> dataFolders, Warning showWarning)
    : library_(library), dataFolders_(std::move(dataFolders)), showWarning_(std::move(showWarning)) {}

void Module1::InitSound(int32_t windowHandle) {
    soundDevice = library_.dsInitialize(windowHandle);
    // Warned once; the sounds are loaded all the same, and the library quietly tries again to
    // find an output whenever one of them is to be heard.
    if (library_.dsOutputFound(soundDevice) == 0) ShowSoundError("Direct Soundインターフェースが作成できません。");
}

std::optional<std::filesystem::path> Module1::findSoundFile(const std::string& fileName) const {
    if (isThere(fileName)) return std::filesystem::path(fileName);
    for (const auto& folder : dataFolders_)
        if (isThere(folder / fileName)) return folder / fileName;
    return std::nullopt;
}

int32_t Module1::LoadSound(const std::string& fileName, int32_t flags) {
    if (soundDevice == 0) return 0;
    const auto path = findSoundFile(fileName);
    if (!path) return 0;  // a missing sound is simply silent

    const FileBytes file = readWholeFile(*path);
    if (!file.error.empty()) {
        ShowSoundError(fileName + ": " + file.error);
        return 0;
    }
    const int32_t sound =
        library_.dsCreateDSB(soundDevice, file.bytes().data(), uint32_t(file.bytes().size()), flags);
    if (sound == 0) ShowSoundError(fileName + ": " + library_.dsLastError());
    return sound;
}

void Module1::TermSound() {
    if (soundDevice != 0) library_.dsTerminate(soundDevice);
    soundDevice = 0;
}

void Module1::ShowSoundError(const std::string& message) {
    if (showWarning_) showWarning_(message);
}

}  // namespace quolvet
