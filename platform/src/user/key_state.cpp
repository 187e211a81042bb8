#include "user/key_state.h"

#include <array>
#include <atomic>

#include "plat/input.h"

namespace plat::user {
namespace {

constexpr BYTE kDown = 0x80;
constexpr BYTE kToggled = 0x01;

struct KeyTable {
    std::array<std::atomic<BYTE>, 256> keys{};

    void Set(UINT virtualKey, bool down) {
        std::atomic<BYTE>& key = keys[virtualKey & 0xFF];
        BYTE state = key;
        if (down && !(state & kDown)) {
            state ^= kToggled;  // each press flips the toggle, as caps lock shows
        }
        key = down ? (state | kDown) : (state & ~kDown);
    }
    BYTE Get(UINT virtualKey) const { return keys[virtualKey & 0xFF]; }
};

KeyTable asynchronous;
KeyTable synchronous;

SHORT AsKeyState(BYTE state) {
    return static_cast<SHORT>(((state & kDown) ? 0x8000 : 0) | (state & kToggled));
}

}  // namespace

void SetAsynchronousKeyDown(UINT virtualKey, bool down) {
    asynchronous.Set(virtualKey, down);
}

void SetSynchronousKeyDown(UINT virtualKey, bool down) {
    synchronous.Set(virtualKey, down);
}

bool IsAsynchronousKeyDown(UINT virtualKey) {
    return asynchronous.Get(virtualKey) & kDown;
}

bool IsSynchronousKeyDown(UINT virtualKey) {
    return synchronous.Get(virtualKey) & kDown;
}

bool IsSynchronousKeyToggled(UINT virtualKey) {
    return synchronous.Get(virtualKey) & kToggled;
}

}  // namespace plat::user

namespace plat {

SHORT GetKeyState(int virtualKey) {
    return user::AsKeyState(user::synchronous.Get(virtualKey));
}

SHORT GetAsyncKeyState(int virtualKey) {
    return user::AsKeyState(user::asynchronous.Get(virtualKey));
}

}  // namespace plat
