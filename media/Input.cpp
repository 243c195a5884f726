#include "media/Input.h"

#include "media/Events.h"
#include "media/Platform.h"

#include <array>

namespace tonvella {

namespace {

struct TInputState {
    std::array<bool, 256> key_down{};
    std::array<int, 256> key_hits{};
    std::array<int, 256> chars{};
    unsigned chars_read = 0, chars_written = 0;
    std::array<bool, 4> mouse_down{};
    std::array<int, 4> mouse_hits{};
    std::array<int, 4> press_x{}, press_y{};
    int mouse_x = 0, mouse_y = 0, wheel = 0;
    bool suspended = false;
    bool close_requested = false;
    const void* accepted_source = nullptr;
    bool enabled = false;
};

TInputState state;
TPollFunc poll_function = nullptr;
bool polling = false;
unsigned events_seen = 0; // every event taken, so that a wait can tell that one came
unsigned events_before_wait = 0;

bool KeyInRange(int key) {
    return key >= 0 && key < 256;
}
bool ButtonInRange(int button) {
    return button >= 0 && button < 4;
}

void* PolledInputHook(int, void* data, void*) {
    const TEvent& e = *static_cast<const TEvent*>(data);
    if (state.accepted_source && e.source != state.accepted_source) return data;
    ++events_seen;
    switch (e.id) {
    case EVENT_KEYDOWN:
        if (KeyInRange(e.data) && !state.key_down[e.data]) {
            state.key_down[e.data] = true;
            ++state.key_hits[e.data];
        }
        break;
    case EVENT_KEYUP:
        if (KeyInRange(e.data)) state.key_down[e.data] = false;
        break;
    case EVENT_KEYCHAR:
        if (state.chars_written - state.chars_read < state.chars.size())
            state.chars[state.chars_written++ % state.chars.size()] = e.data;
        break;
    case EVENT_MOUSEDOWN:
        if (ButtonInRange(e.data) && !state.mouse_down[e.data]) {
            state.mouse_down[e.data] = true;
            ++state.mouse_hits[e.data];
            state.press_x[e.data] = e.x;
            state.press_y[e.data] = e.y;
        }
        break;
    case EVENT_MOUSEUP:
        if (ButtonInRange(e.data)) state.mouse_down[e.data] = false;
        break;
    case EVENT_MOUSEMOVE:
        state.mouse_x = e.x;
        state.mouse_y = e.y;
        break;
    case EVENT_MOUSEWHEEL:
        state.wheel += e.data;
        break;
    case EVENT_APPSUSPEND:
    case EVENT_APPRESUME:
        // Keys pressed while another program had the focus must not reach the game.
        ClearKeys();
        ClearMouse();
        state.suspended = e.id == EVENT_APPSUSPEND;
        break;
    case EVENT_APPTERMINATE:
        state.close_requested = true;
        break;
    default:
        break;
    }
    return data;
}

} // namespace

void InstallPollFunction(TPollFunc poll) {
    poll_function = poll;
}

void PollSystem() {
    if (polling || !poll_function) return;
    polling = true;
    poll_function();
    polling = false;
}

namespace {

bool InputArrived() {
    PollSystem();
    return events_seen != events_before_wait;
}

} // namespace

unsigned InputEventCount() {
    return events_seen;
}

void AwaitInput(int ms, unsigned seen) {
    events_before_wait = seen;
    WaitForInput(ms, InputArrived);
}

void EnablePolledInput() {
    if (!state.enabled) {
        AddHook(EMIT_EVENT_HOOK, PolledInputHook, nullptr, 0);
        state.enabled = true;
    }
    state.accepted_source = nullptr;
    ClearKeys();
    ClearMouse();
}

void AcceptEventSource(const void* source) {
    state.accepted_source = source;
}

void ClearKeys() {
    state.key_down.fill(false);
    state.key_hits.fill(0);
    state.chars_read = state.chars_written = 0;
}

void ClearMouse() {
    state.mouse_down.fill(false);
    state.mouse_hits.fill(0);
    state.wheel = 0;
}

int KeyHitCount(int key) {
    PollSystem();
    if (!KeyInRange(key)) return 0;
    int hits = state.key_hits[key];
    state.key_hits[key] = 0;
    return hits;
}

int IsKeyDown(int key) {
    PollSystem();
    return KeyInRange(key) && state.key_down[key] ? 1 : 0;
}

int MousePosX() {
    PollSystem();
    return state.mouse_x;
}

int MousePosY() {
    PollSystem();
    return state.mouse_y;
}

int IsMouseDown(int button) {
    PollSystem();
    return ButtonInRange(button) && state.mouse_down[button] ? 1 : 0;
}

int MouseHitCount(int button) {
    PollSystem();
    if (!ButtonInRange(button)) return 0;
    int hits = state.mouse_hits[button];
    state.mouse_hits[button] = 0;
    return hits;
}

int MousePressX(int button) {
    PollSystem();
    return ButtonInRange(button) ? state.press_x[button] : 0;
}

int MousePressY(int button) {
    PollSystem();
    return ButtonInRange(button) ? state.press_y[button] : 0;
}

int MouseWheelTotal() {
    PollSystem();
    return state.wheel;
}

int CloseRequested() {
    PollSystem();
    bool requested = state.close_requested;
    state.close_requested = false;
    return requested ? 1 : 0;
}

int NextKeyChar() {
    PollSystem();
    if (state.chars_read == state.chars_written) return 0;
    return state.chars[state.chars_read++ % state.chars.size()];
}

} // namespace tonvella
