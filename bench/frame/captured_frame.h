// The heaviest frame of a menu demonstration, as the game drew it on the recording device: every
// call with its arguments, and the device settings that were in force when the frame began.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/core/recording_device.h"

struct CapturedFrame {
    // The last value of every setting made before the frame (render, stage and sampler states,
    // lights, transforms, format, texture, material), to replay first.
    std::vector<DeviceCall> settings;
    // The frame from its Clear to its Present.
    std::vector<DeviceCall> calls;
    // Stand-ins for the textures the calls name: only each one's file path and size are kept.
    std::vector<std::unique_ptr<Texture>> textures;
    int frameNumber = 0;      // counted from 1 as the headless host counts frames
    int objects = 0;          // entries in the object list when the frame began
    std::string composition;  // those entries by kind, in words
    int highPhaseFrame = 0;   // the first frame of the high phase, 0 if it never came
    int framesRun = 0;
};

struct CaptureOptions {
    uint32_t seed = 4242;
    // Frames to run after the high phase begins; the heaviest frame of the whole run is kept.
    int framesIntoHighPhase = 3000;
    int frameLimit = 40000;  // gives up on reaching the high phase after this many
    // Off, every frame up to `frameLimit` is a candidate, high phase or not.
    bool highPhaseOnly = true;
};

// Runs the demonstration headless on a recording device and keeps the heaviest frame (the most
// draws) of its high phase, where bombers come. Reads data/ from the working directory.
CapturedFrame CaptureHeaviestFrame(const CaptureOptions& options);

// Draws counted as the game makes them: DrawPrimitiveUP, Sprite.Draw and Mesh.DrawSubset calls.
int DrawCallsIn(const std::vector<DeviceCall>& calls);

// A binary file for handing the frame to another process of the same build.
bool SaveFrame(const CapturedFrame& frame, const std::string& path);
bool LoadFrame(const std::string& path, CapturedFrame& frame);
