#include "screens/efeitos.hpp"

#include "console/services.hpp"

namespace screens {

// Alt+Enter is a toggle: a game played again switches the display back.
void ocultarampliar() {
    console::SetConsoleCursorInfo(100, false);
    constexpr int scan_alt = 56;
    constexpr int scan_enter = 28;
    console::keybd_event(console::VK_MENU, scan_alt, 0, 0);
    console::keybd_event(console::VK_RETURN, scan_enter, 0, 0);
    console::keybd_event(console::VK_RETURN, scan_enter, console::KEYEVENTF_KEYUP, 0);
    console::keybd_event(console::VK_MENU, scan_alt, console::KEYEVENTF_KEYUP, 0);
}

} // namespace screens
