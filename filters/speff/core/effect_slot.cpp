#include "core/effect_slot.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "core/effect_factory.h"

CEffectSlot::CEffectSlot(Factory factory) : factory_(factory ? std::move(factory) : Factory(CreateEffect)) {
    Publish(Build(effectIndex_, strength_, format_));
}

CEffectSlot::~CEffectSlot() {
    delete pending_.exchange(nullptr);
}

std::unique_ptr<CEffectSlot::Configured> CEffectSlot::Build(int effectIndex, int strength,
                                                            const Format& format) const {
    try {
        auto configured = std::make_unique<Configured>();
        configured->effect = factory_(effectIndex);
        if (!configured->effect)
            return nullptr;
        if (format.known)
            configured->effect->Init(format.width, format.height, format.bytesPerPixel, 8, format.stride,
                                     kByteOrderBgr);
        configured->effect->SetStrength(strength);
        configured->formatGeneration = format.generation;
        return configured;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

void CEffectSlot::Publish(std::unique_ptr<Configured> configured) {
    delete pending_.exchange(configured.release(), std::memory_order_acq_rel);
}

bool CEffectSlot::SetEffect(int effectIndex) {
    std::lock_guard<std::mutex> lock(settingsMutex_);
    if (effectIndex == effectIndex_)
        return true;
    std::unique_ptr<Configured> effect = Build(effectIndex, strength_, format_);
    if (!effect)
        return false;
    effectIndex_ = effectIndex;
    Publish(std::move(effect));
    return true;
}

bool CEffectSlot::SetStrength(int strength) {
    std::lock_guard<std::mutex> lock(settingsMutex_);
    if (strength == strength_)
        return true;
    std::unique_ptr<Configured> effect = Build(effectIndex_, strength, format_);
    if (!effect)
        return false;
    strength_ = strength;
    Publish(std::move(effect));
    return true;
}

bool CEffectSlot::SetFormat(int width, int height, int bytesPerPixel, int stride) {
    std::lock_guard<std::mutex> lock(settingsMutex_);
    Format format;
    format.known = true;
    format.width = width;
    format.height = height;
    format.bytesPerPixel = bytesPerPixel;
    format.stride = stride;
    format.generation = format_.generation + 1;
    // From here on no effect of an earlier format touches a frame, even when this build fails.
    format_ = format;
    formatGeneration_.store(format.generation, std::memory_order_release);
    std::unique_ptr<Configured> configured = Build(effectIndex_, strength_, format);
    if (!configured)
        return false;
    const bool initialised = configured->effect->IsInitialised();
    Publish(std::move(configured));
    return initialised;
}

int CEffectSlot::EffectIndex() const {
    std::lock_guard<std::mutex> lock(settingsMutex_);
    return effectIndex_;
}

int CEffectSlot::Strength() const {
    std::lock_guard<std::mutex> lock(settingsMutex_);
    return strength_;
}

bool CEffectSlot::ProcessFrame(const uint8_t* src, size_t srcBytes, uint8_t* dst, size_t dstBytes) {
    if (Configured* fresh = pending_.exchange(nullptr, std::memory_order_acq_rel))
        live_.reset(fresh);
    if (!src || !dst)
        return false;
    CEffect* effect = live_ ? live_->effect.get() : nullptr;
    const bool current = live_ && live_->formatGeneration == formatGeneration_.load(std::memory_order_acquire);
    if (effect && current && effect->IsInitialised() && srcBytes >= effect->FrameBytes() &&
        dstBytes >= effect->FrameBytes() && effect->Process(src, dst) != 0) {
        effect->CopyRowPadding(src, dst);
        return true;
    }
    if (src != dst)
        std::memcpy(dst, src, std::min(srcBytes, dstBytes));
    return false;
}
