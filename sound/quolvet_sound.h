#pragma once

#include <cstdint>

// The game's sound library: a device, sounds made from WAVE file images, fire-and-forget
// playing. Every handle is 32 bits; 0 means "no sound" (or "no device") and every call on 0
// does nothing.
extern "C" {

// Opens the library and its audio device, answering within a second whatever the sound server
// does. Answers the device handle for the sounds. Playing never waits for the device: the library
// opens it when something is to sound, closes it after a quiet while, and opens it anew after
// the sound server went away and came back.
int32_t dsInitialize(int32_t windowHandle);

// 0 when dsInitialize found no output at all. The library keeps looking for one, quietly, each
// time a sound is to be heard.
int32_t dsOutputFound(int32_t device);

// Makes a playable sound from a whole WAVE file image of `size` bytes, header included.
// The library keeps its own copy and never reads outside the image. Answers the sound
// handle, or 0 for an image that is not a playable WAVE file. Needs no output device.
int32_t dsCreateDSB(int32_t device, const uint8_t* image, uint32_t size, int32_t flags);

void dsPlay(int32_t sound);         // once; the same sound may overlap itself
void dsPlayLooping(int32_t sound);  // again and again until dsStop
void dsStop(int32_t sound);
void dsFree(int32_t sound);
void dsTerminate(int32_t device);

// Why the last dsCreateDSB answered 0, in words a player can read; empty after a success.
const char* dsLastError(void);
}
