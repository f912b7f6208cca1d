#include "standin_log.h"

#include <map>
#include <mutex>
#include <vector>

namespace standin {
namespace {

struct ClsidLess {
    bool operator()(const CLSID& a, const CLSID& b) const { return memcmp(&a, &b, sizeof a) < 0; }
};

struct Entry {
    CLSID clsid;
    int instance;
    std::string call;
};

struct State {
    std::mutex lock;
    std::map<CLSID, int, ClsidLess> created;
    std::map<CLSID, LONG, ClsidLess> live;
    std::map<CLSID, DWORD, ClsidLess> modes;
    std::vector<Entry> entries;
};

State& TheState() {
    static State state;
    return state;
}

} // namespace

int AddInstance(REFCLSID clsid) {
    State& state = TheState();
    std::lock_guard<std::mutex> guard(state.lock);
    ++state.live[clsid];
    return ++state.created[clsid];
}

void RemoveInstance(REFCLSID clsid, int) {
    State& state = TheState();
    std::lock_guard<std::mutex> guard(state.lock);
    --state.live[clsid];
}

LONG LiveInstances(const CLSID* clsid) {
    State& state = TheState();
    std::lock_guard<std::mutex> guard(state.lock);
    LONG count = 0;
    for (const auto& entry : state.live)
        if (!clsid || entry.first == *clsid)
            count += entry.second;
    return count;
}

void Log(REFCLSID clsid, int instance, const std::string& call) {
    State& state = TheState();
    std::lock_guard<std::mutex> guard(state.lock);
    state.entries.push_back({clsid, instance, call});
}

std::string ReadLog(const CLSID* clsid) {
    State& state = TheState();
    std::lock_guard<std::mutex> guard(state.lock);
    std::string text;
    for (const Entry& entry : state.entries)
        if (!clsid || entry.clsid == *clsid)
            text += "#" + std::to_string(entry.instance) + " " + entry.call + "\n";
    return text;
}

// The instance numbering goes on: a number always names one instance of the process.
void ClearLog() {
    State& state = TheState();
    std::lock_guard<std::mutex> guard(state.lock);
    state.entries.clear();
}

void SetMode(REFCLSID clsid, DWORD mode) {
    State& state = TheState();
    std::lock_guard<std::mutex> guard(state.lock);
    state.modes[clsid] = mode;
}

DWORD ModeOf(REFCLSID clsid) {
    State& state = TheState();
    std::lock_guard<std::mutex> guard(state.lock);
    auto found = state.modes.find(clsid);
    return found == state.modes.end() ? 0 : found->second;
}

} // namespace standin
