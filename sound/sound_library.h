#pragma once

#include <cstdint>

namespace quolvet {

// The seam through which the game reaches the sound library, so tests can record the calls.
class SoundLibrary {
public:
    virtual ~SoundLibrary() = default;
    virtual int32_t dsInitialize(int32_t windowHandle) = 0;
    virtual int32_t dsOutputFound(int32_t device) { return device != 0; }
    virtual int32_t dsCreateDSB(int32_t device, const uint8_t* image, uint32_t size, int32_t flags) = 0;
    virtual void dsPlay(int32_t sound) = 0;
    virtual void dsPlayLooping(int32_t sound) = 0;
    virtual void dsStop(int32_t sound) = 0;
    virtual void dsFree(int32_t sound) = 0;
    virtual void dsTerminate(int32_t device) = 0;
    virtual const char* dsLastError() = 0;
};

// The real library.
class SystemSoundLibrary final : public SoundLibrary {
public:
    int32_t dsInitialize(int32_t windowHandle) override;
    int32_t dsOutputFound(int32_t device) override;
    int32_t dsCreateDSB(int32_t device, const uint8_t* image, uint32_t size, int32_t flags) override;
    void dsPlay(int32_t sound) override;
    void dsPlayLooping(int32_t sound) override;
    void dsStop(int32_t sound) override;
    void dsFree(int32_t sound) override;
    void dsTerminate(int32_t device) override;
    const char* dsLastError() override;
};

}  // namespace quolvet
