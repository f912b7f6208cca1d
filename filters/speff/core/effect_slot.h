#pragma once
// The effect of the special-effect filter, switched while frames stream.
//
// Settings (effect, strength, format) may change on any thread while one streaming thread processes
// frames. Every change builds a complete new effect aside, on the caller's thread, and leaves it
// pending; the streaming thread takes the newest pending effect at the start of a frame. So a frame
// always sees one whole effect, and an effect is destroyed only by the thread that uses it, between
// frames.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

#include "core/effect.h"

class CEffectSlot {
public:
    using Factory = std::function<std::unique_ptr<CEffect>(int effectIndex)>;

    static constexpr int kDefaultEffectIndex = -1;
    static constexpr int kDefaultStrength = 50;

    // factory: creates the effect of an index (CreateEffect unless a test brings its own).
    explicit CEffectSlot(Factory factory = nullptr);
    ~CEffectSlot();
    CEffectSlot(const CEffectSlot&) = delete;
    CEffectSlot& operator=(const CEffectSlot&) = delete;

    // Settings side: any thread, calls serialised. Each returns false when the new effect could not
    // be built (memory): then nothing has changed. The same index or strength again changes nothing.
    bool SetEffect(int effectIndex);
    bool SetStrength(int strength);
    // The format of the connection: the chosen effect, with its strength, re-initialised for it.
    // A format that the effects cannot process gives false; its frames are then copied.
    bool SetFormat(int width, int height, int bytesPerPixel, int stride);
    int EffectIndex() const;
    int Strength() const;

    // Streaming side, one thread: takes the newest pending effect, then processes src into dst (the
    // row padding copied, so that dst is a whole frame). When
    // the effect does not process the frame (no format, not initialised, a buffer smaller than the
    // format's frame), the input is copied (as much as fits) and the result is false.
    bool ProcessFrame(const uint8_t* src, size_t srcBytes, uint8_t* dst, size_t dstBytes);

private:
    struct Format {
        bool known = false;
        int width = 0;
        int height = 0;
        int bytesPerPixel = 0;
        int stride = 0;
        unsigned generation = 0;
    };

    // An effect with the format generation it was built for.
    struct Configured {
        std::unique_ptr<CEffect> effect;
        unsigned formatGeneration = 0;
    };

    // Builds the effect for the given settings; null when memory is short.
    std::unique_ptr<Configured> Build(int effectIndex, int strength, const Format& format) const;
    // Makes configured the pending one, replacing (and destroying) a pending one no frame has taken.
    void Publish(std::unique_ptr<Configured> configured);

    Factory factory_;
    mutable std::mutex settingsMutex_;
    int effectIndex_ = kDefaultEffectIndex;
    int strength_ = kDefaultStrength;
    Format format_;
    // Counts format changes, so that an effect built for an earlier format is never used on frames
    // of a later one (when building for the new format failed).
    std::atomic<unsigned> formatGeneration_{0};

    std::atomic<Configured*> pending_{nullptr};  // owned; handed over by exchange
    std::unique_ptr<Configured> live_;           // the streaming thread's only
};
