#include "bench/frame/captured_frame.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <tuple>

#include "app/session.h"
#include "platform/core/headless_host.h"
#include "render/render_states.h"
#include "world/object_list.h"
#include "world/schedule.h"

namespace {

// Which setting a call makes, or an empty op for calls that set nothing lasting.
using SettingKey = std::tuple<std::string, uint32_t, uint32_t>;

bool KeyOf(const DeviceCall& call, SettingKey& key) {
    const std::string& op = call.op;
    auto at = [&](size_t i) { return i < call.ints.size() ? call.ints[i] : 0u; };
    if (op == "SetRenderState" || op == "SetLight" || op == "LightEnable" || op == "SetTransform" ||
        op == "SetTexture")
        key = {op, at(0), 0};
    else if (op == "SetTextureStageState" || op == "SetSamplerState")
        key = {op, at(0), at(1)};
    else if (op == "SetFVF" || op == "SetMaterial" || op == "Sprite.SetTransform")
        key = {op, 0, 0};
    else
        return false;
    return true;
}

int ListLength() {
    int n = 0;
    for (const GameObject* o = world.head; o != nullptr; o = o->next) ++n;
    return n;
}

std::string Composition() {
    int aircraft = 0, bombers = 0, shots = 0, gunners = 0, explosions = 0;
    for (const GameObject* o = world.head; o != nullptr; o = o->next) {
        if (o->kind == Aircraft) (o->model == ModelBomber ? bombers : aircraft) += 1;
        shots += o->kind == Shot;
        gunners += o->kind == Gunner;
        explosions += o->kind == Explosion;
    }
    return std::to_string(aircraft) + " aircraft, " + std::to_string(bombers) + " bombers, " +
           std::to_string(shots) + " shots, " + std::to_string(gunners) + " warships, " +
           std::to_string(explosions) + " explosions";
}

// The captured calls point at the recording device's textures, which go with it: each is
// replaced by a stand-in that keeps the path and size.
void Detach(CapturedFrame& frame) {
    std::map<const Texture*, Texture*> standIns;
    auto standIn = [&](Texture*& texture) {
        if (texture == nullptr) return;
        auto found = standIns.find(texture);
        if (found == standIns.end()) {
            frame.textures.push_back(std::make_unique<Texture>(*texture));
            found = standIns.emplace(texture, frame.textures.back().get()).first;
        }
        texture = found->second;
    };
    for (DeviceCall& call : frame.settings) standIn(call.texture);
    for (DeviceCall& call : frame.calls) standIn(call.texture);
}

}  // namespace

int DrawCallsIn(const std::vector<DeviceCall>& calls) {
    int n = 0;
    for (const DeviceCall& call : calls)
        n += call.op == "DrawPrimitiveUP" || call.op == "Sprite.Draw" ||
             call.op == "Mesh.DrawSubset";
    return n;
}

CapturedFrame CaptureHeaviestFrame(const CaptureOptions& options) {
    RecordingDevice recorder;
    device = &recorder;
    InitRenderStates();
    InitLights();

    static uint32_t seed;
    seed = options.seed;
    sessionSeed = [] { return seed; };
    menuLatches = MenuLatches{};
    world = World{};
    scheduleMark = 0;

    CapturedFrame best;
    int bestDraws = -1;
    std::map<SettingKey, DeviceCall> settings;
    // The list when the frame now in `recorder.calls` began.
    int objectsDrawn = 0;
    std::string composition;
    HeadlessHost headless;
    headless.closeAtFrame = options.frameLimit;
    // The pump at the top of frame n sees frame n - 1 complete in `recorder.calls`.
    headless.onFrame = [&](int frame) {
        bool candidate = options.highPhaseOnly
                             ? best.highPhaseFrame != 0 && frame - 1 >= best.highPhaseFrame
                             : frame > 1;
        if (candidate) {
            int draws = DrawCallsIn(recorder.calls);
            if (draws > bestDraws) {
                bestDraws = draws;
                best.settings.clear();
                for (auto& [key, call] : settings) best.settings.push_back(call);
                best.calls = recorder.calls;
                best.frameNumber = frame - 1;
                best.objects = objectsDrawn;
                best.composition = composition;
            }
        }
        SettingKey key;
        for (DeviceCall& call : recorder.calls)
            if (KeyOf(call, key)) settings[key] = call;
        recorder.calls.clear();
        if (world.head != nullptr) {
            objectsDrawn = ListLength();
            composition = Composition();
        }
        if (best.highPhaseFrame == 0 && scheduleMark == 1 && frame > 2) {
            best.highPhaseFrame = frame;
            headless.closeAtFrame = frame + options.framesIntoHighPhase;
        }
    };
    world.inGame = 0;
    RunSession();
    DestroyWorldObjects();
    best.framesRun = headless.frame;
    sessionSeed = CalendarSeed;
    Detach(best);
    device = nullptr;
    return best;
}

namespace {

struct Writer {
    std::ofstream out;
    void Bytes(const void* p, size_t n) {
        out.write(static_cast<const char*>(p), std::streamsize(n));
    }
    void U32(uint32_t v) { Bytes(&v, sizeof v); }
    template <typename T>
    void Vector(const std::vector<T>& v) {
        U32(static_cast<uint32_t>(v.size()));
        Bytes(v.data(), v.size() * sizeof(T));
    }
    void String(const std::string& s) {
        U32(static_cast<uint32_t>(s.size()));
        Bytes(s.data(), s.size());
    }
};

struct Reader {
    std::ifstream in;
    void Bytes(void* p, size_t n) { in.read(static_cast<char*>(p), std::streamsize(n)); }
    uint32_t U32() {
        uint32_t v = 0;
        Bytes(&v, sizeof v);
        return v;
    }
    template <typename T>
    void Vector(std::vector<T>& v) {
        uint32_t n = U32();
        if (!in || n > (1u << 28)) {
            in.setstate(std::ios::failbit);
            return;
        }
        v.resize(n);
        Bytes(v.data(), n * sizeof(T));
    }
    void String(std::string& s) {
        std::vector<char> chars;
        Vector(chars);
        s.assign(chars.begin(), chars.end());
    }
};

constexpr uint32_t Magic = 0x4d465231;  // "MFR1"
constexpr uint32_t NoTexture = ~0u;

}  // namespace

bool SaveFrame(const CapturedFrame& frame, const std::string& path) {
    Writer w{std::ofstream(path, std::ios::binary)};
    std::map<const Texture*, uint32_t> index;
    w.U32(Magic);
    for (int v : {frame.frameNumber, frame.objects, frame.highPhaseFrame, frame.framesRun})
        w.U32(static_cast<uint32_t>(v));
    w.U32(static_cast<uint32_t>(frame.textures.size()));
    for (const auto& texture : frame.textures) {
        index[texture.get()] = static_cast<uint32_t>(index.size());
        w.String(texture->path);
        w.U32(texture->width);
        w.U32(texture->height);
    }
    for (const std::vector<DeviceCall>* list : {&frame.settings, &frame.calls}) {
        w.U32(static_cast<uint32_t>(list->size()));
        for (const DeviceCall& call : *list) {
            w.String(call.op);
            w.Vector(call.ints);
            w.Vector(call.floats);
            w.Bytes(&call.matrix, sizeof call.matrix);
            w.U32(call.texture != nullptr ? index.at(call.texture) : NoTexture);
            w.Vector(call.data);
            w.Bytes(&call.light, sizeof call.light);
            w.Bytes(&call.material, sizeof call.material);
        }
    }
    return static_cast<bool>(w.out);
}

bool LoadFrame(const std::string& path, CapturedFrame& frame) {
    Reader r{std::ifstream(path, std::ios::binary)};
    if (r.U32() != Magic) return false;
    for (int* v : {&frame.frameNumber, &frame.objects, &frame.highPhaseFrame, &frame.framesRun})
        *v = static_cast<int>(r.U32());
    uint32_t textures = r.U32();
    for (uint32_t i = 0; i < textures && r.in; ++i) {
        auto texture = std::make_unique<Texture>();
        r.String(texture->path);
        texture->width = r.U32();
        texture->height = r.U32();
        frame.textures.push_back(std::move(texture));
    }
    for (std::vector<DeviceCall>* list : {&frame.settings, &frame.calls}) {
        uint32_t count = r.U32();
        // Reserved, so that no large block is freed: glibc would raise its mmap threshold on
        // seeing one, and that would change what the malloc comparison measures.
        if (count < (1u << 24)) list->reserve(count);
        for (uint32_t i = 0; i < count && r.in; ++i) {
            DeviceCall call;
            r.String(call.op);
            r.Vector(call.ints);
            r.Vector(call.floats);
            r.Bytes(&call.matrix, sizeof call.matrix);
            uint32_t texture = r.U32();
            if (texture != NoTexture) {
                if (texture >= frame.textures.size()) return false;
                call.texture = frame.textures[texture].get();
            }
            r.Vector(call.data);
            r.Bytes(&call.light, sizeof call.light);
            r.Bytes(&call.material, sizeof call.material);
            list->push_back(std::move(call));
        }
    }
    return static_cast<bool>(r.in);
}
