#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "form1.h"
#include "message_boxes.h"
#include "sound_library.h"

namespace quolvet::testing {

// One ordered log of what the player would see and hear: boxes, sounds and waits.
struct Journal {
    std::vector<std::string> events;
    std::vector<std::string> since(size_t mark) const {
        return {events.begin() + static_cast<long>(mark), events.end()};
    }
};

// A sound library that plays nothing and writes down every call. A sound's name is the
// content of the file it was made from.
class RecordingSound final : public SoundLibrary {
public:
    explicit RecordingSound(Journal& journal) : journal_(journal) {}
    int32_t dsInitialize(int32_t) override { return deviceWorks ? 1 : 0; }
    int32_t dsCreateDSB(int32_t, const uint8_t* image, uint32_t size, int32_t) override {
        names_[++lastHandle_] = std::string(reinterpret_cast<const char*>(image), size);
        return lastHandle_;
    }
    void dsPlay(int32_t sound) override { log("play", sound); }
    void dsPlayLooping(int32_t sound) override { log("loop", sound); }
    void dsStop(int32_t sound) override { log("stop", sound); }
    void dsFree(int32_t sound) override { log("free", sound); }
    void dsTerminate(int32_t) override { journal_.events.push_back("terminate"); }
    const char* dsLastError() override { return ""; }

    bool deviceWorks = true;

private:
    void log(const char* what, int32_t sound) {
        journal_.events.push_back(std::string(what) + " " + (sound ? names_[sound] : "0"));
    }
    Journal& journal_;
    std::map<int32_t, std::string> names_;
    int32_t lastHandle_ = 0;
};

class RecordingBoxes final : public MessageBoxes {
public:
    explicit RecordingBoxes(Journal& journal) : journal_(journal) {}
    void show(const QString& text, const QString& title, bool warning) override {
        journal_.events.push_back((warning ? "warning [" : "box [") + title.toStdString() + "] " +
                                  text.toStdString());
    }

private:
    Journal& journal_;
};

// A folder holding the four sound files, each file's content being its own name.
std::filesystem::path makeSoundFolder();

}  // namespace quolvet::testing
