#include "media/Events.h"

#include <iterator>
#include <list>
#include <map>

namespace tonvella {

namespace {

struct THook {
    int priority;
    THookFunc func;
    void* context;
};

std::map<int, std::list<THook>>& Chains() {
    static std::map<int, std::list<THook>> chains;
    return chains;
}

} // namespace

const char* EventName(int id) {
    switch (id) {
    case EVENT_APPSUSPEND:
        return "AppSuspend";
    case EVENT_APPRESUME:
        return "AppResume";
    case EVENT_APPTERMINATE:
        return "AppTerminate";
    case EVENT_KEYDOWN:
        return "KeyDown";
    case EVENT_KEYUP:
        return "KeyUp";
    case EVENT_KEYCHAR:
        return "KeyChar";
    case EVENT_KEYREPEAT:
        return "KeyRepeat";
    case EVENT_MOUSEDOWN:
        return "MouseDown";
    case EVENT_MOUSEUP:
        return "MouseUp";
    case EVENT_MOUSEMOVE:
        return "MouseMove";
    case EVENT_MOUSEWHEEL:
        return "MouseWheel";
    case EVENT_MOUSEENTER:
        return "MouseEnter";
    case EVENT_MOUSELEAVE:
        return "MouseLeave";
    default:
        return "";
    }
}

void AddHook(int id, THookFunc func, void* context, int priority) {
    auto& chain = Chains()[id];
    auto at = chain.begin();
    while (at != chain.end() && at->priority >= priority)
        ++at;
    chain.insert(at, THook{priority, func, context});
}

void RemoveHook(int id, THookFunc func, void* context) {
    Chains()[id].remove_if([&](const THook& h) { return h.func == func && h.context == context; });
}

void* RunHooks(int id, void* data) {
    auto found = Chains().find(id);
    if (found == Chains().end()) return data;
    // A copy, so that a hook may add or remove hooks while the chain runs.
    std::list<THook> chain = found->second;
    for (const THook& hook : chain)
        data = hook.func(id, data, hook.context);
    return data;
}

void EmitEvent(const TEvent& event) {
    RunHooks(EMIT_EVENT_HOOK, const_cast<TEvent*>(&event));
}

void EmitEvent(int id, int data, int x, int y) {
    TEvent event;
    event.id = id;
    event.data = data;
    event.x = x;
    event.y = y;
    EmitEvent(event);
}

} // namespace tonvella
