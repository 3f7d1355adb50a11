#include "xdnd_drag.h"

#include "support/gui_env.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <algorithm>
#include <memory>

namespace xdnd_drag {
namespace {

constexpr long kVersion = 5;

class Source {
public:
    explicit Source(Display* display) : m_display(display), m_root(DefaultRootWindow(display)) {
        m_window = XCreateSimpleWindow(m_display, m_root, 0, 0, 1, 1, 0, 0, 0);
        XSetSelectionOwner(m_display, Intern("XdndSelection"), m_window, CurrentTime);
    }
    ~Source() { XDestroyWindow(m_display, m_window); }
    Source(const Source&) = delete;
    Source& operator=(const Source&) = delete;

    bool Drop(int x, int y, const std::string& type, const std::string& data) {
        const Window target = AwareWindowAt(x, y);
        if (target == 0) return false;
        m_type = Intern(type.c_str());
        m_data = data;
        Send(target, "XdndEnter", kVersion << 24, static_cast<long>(m_type));
        Send(target, "XdndPosition", 0, (static_cast<long>(x) << 16) | (y & 0xFFFF), CurrentTime,
             static_cast<long>(Intern("XdndActionCopy")));
        if (!Await("XdndStatus")) return false;
        if (!(m_answer & 1)) {
            Send(target, "XdndLeave");
            return false;
        }
        Send(target, "XdndDrop", 0, CurrentTime);
        return Await("XdndFinished") && (m_answer & 1);
    }

private:
    Atom Intern(const char* name) { return XInternAtom(m_display, name, False); }

    // The window under the point that takes part in XDND: the top-level
    // window, or one further down.
    Window AwareWindowAt(int x, int y) {
        Window window = m_root;
        for (;;) {
            int childX = 0, childY = 0;
            Window child = 0;
            if (!XTranslateCoordinates(m_display, m_root, window, x, y, &childX, &childY, &child) || child == 0)
                return 0;
            window = child;
            Atom type = 0;
            int format = 0;
            unsigned long count = 0, after = 0;
            unsigned char* value = nullptr;
            XGetWindowProperty(m_display, window, Intern("XdndAware"), 0, 1, False, XA_ATOM, &type, &format, &count,
                               &after, &value);
            if (value != nullptr) XFree(value);
            if (count == 1) return window;
        }
    }

    void Send(Window target, const char* message, long l1 = 0, long l2 = 0, long l3 = 0, long l4 = 0) {
        XEvent event{};
        event.xclient = {ClientMessage, 0, False, m_display, target, Intern(message), 32, {}};
        const long data[5] = {static_cast<long>(m_window), l1, l2, l3, l4};
        std::copy(data, data + 5, event.xclient.data.l);
        XSendEvent(m_display, target, False, NoEventMask, &event);
        XFlush(m_display);
    }

    // Handles the events of this connection (the target fetching the data
    // among them) until message arrives; m_answer is then its flags.
    bool Await(const char* message) {
        const Atom awaited = Intern(message);
        bool arrived = false;
        gui_env::WaitUntil(
            [&] {
                while (!arrived && XPending(m_display) > 0) {
                    XEvent event;
                    XNextEvent(m_display, &event);
                    if (event.type == SelectionRequest) Deliver(event.xselectionrequest);
                    if (event.type == ClientMessage && event.xclient.message_type == awaited) {
                        m_answer = event.xclient.data.l[1];
                        arrived = true;
                    }
                }
                return arrived;
            },
            10000);
        return arrived;
    }

    void Deliver(const XSelectionRequestEvent& request) {
        XEvent reply{};
        reply.xselection = {SelectionNotify, 0, False, m_display, request.requestor, request.selection, request.target,
                            None, request.time};
        if (request.target == m_type) {
            XChangeProperty(m_display, request.requestor, request.property, m_type, 8, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(m_data.data()), static_cast<int>(m_data.size()));
            reply.xselection.property = request.property;
        }
        XSendEvent(m_display, request.requestor, False, NoEventMask, &reply);
        XFlush(m_display);
    }

    Display* m_display;
    Window m_root;
    Window m_window = 0;
    Atom m_type = 0;
    std::string m_data;
    long m_answer = 0;
};

}  // namespace

bool Drop(int x, int y, const std::string& type, const std::string& data) {
    const std::unique_ptr<Display, int (*)(Display*)> display(XOpenDisplay(nullptr), XCloseDisplay);
    return display != nullptr && Source(display.get()).Drop(x, y, type, data);
}

}  // namespace xdnd_drag
