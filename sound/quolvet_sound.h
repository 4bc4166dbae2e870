#pragma once

#include <cstdint>

// The game's sound library: a device, sounds made from WAVE file images, fire-and-forget
// playing. Every handle is 32 bits; 0 means "no sound" (or "no device") and every call on 0
// does nothing.
extern "C" {

// Opens the audio device. Answers the device handle, or 0 when no device can be opened
// (within a bounded time; the program then goes on silently).
int32_t dsInitialize(int32_t windowHandle);

// Makes a playable sound from a whole WAVE file image of `size` bytes, header included.
// The library keeps its own copy and never reads outside the image. Answers the sound
// handle, or 0 for an image that is not a playable WAVE file.
int32_t dsCreateDSB(int32_t device, const uint8_t* image, uint32_t size, int32_t flags);

void dsPlay(int32_t sound);         // once; the same sound may overlap itself
void dsPlayLooping(int32_t sound);  // again and again until dsStop
void dsStop(int32_t sound);
void dsFree(int32_t sound);
void dsTerminate(int32_t device);

// Why the last dsCreateDSB answered 0, in words a player can read; empty after a success.
const char* dsLastError(void);
}
