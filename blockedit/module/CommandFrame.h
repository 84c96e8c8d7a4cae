#pragma once
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// Prints a command's title line: the title, one blank and the module version.
void printCommandTitle(const std::string& title);

// The frame every command handler runs in. The handler names itself; the frame prints the title
// (when the command has one), runs the work and stops every failure at its error boundary:
//   - a program exception (CEXKorva) is wrapped in a CEXUnhandled of "blockEdit" naming the handler,
//     shown in the "Error Detected." box, and the chain is dropped;
//   - a failed host status (CHostError) becomes the host-error kind naming the handler, shown the
//     same way;
//   - anything else is shown as "unhandled error" under the handler's name, or, for a handler that
//     has a fixed failure line, that line is printed instead.
// What the handler builds through own() is released when the frame ends, after the report, on
// every path.
//
// A handler reads:
//     void updateSpaces() {
//         CCommandFrame frame("updateSpaces");
//         frame.setTitle("Korva Update Spaces").run([&] {
//             CAcadDrawing& drawing = frame.own<CAcadDrawing>();
//             drawing.bindToActiveDocument();
//             ...
//         });
//     }
// The handlers that only open a dialog, pick one block or print fixed text have no boundary of
// their own: they call printCommandTitle (when they have a title) and do their work directly.
//
// The platform's frame also swaps the dialog toolkit's resource handle for the module's own while
// the handler runs. This host finds the module's dialogs without a resource handle, so that swap has
// nothing to do here and is left out.
class CCommandFrame {
public:
    explicit CCommandFrame(std::string handlerName);
    ~CCommandFrame();
    CCommandFrame(const CCommandFrame&) = delete;
    CCommandFrame& operator=(const CCommandFrame&) = delete;

    // The title printed before the work starts.
    CCommandFrame& setTitle(std::string title);
    // The line printed in place of the "unhandled error" box.
    CCommandFrame& setFailureLine(std::string line);

    // Runs the work inside the boundary. True when the work ended normally.
    bool run(const std::function<void()>& work);

    // Builds an object that lives until the frame ends (drawing objects, collections, dialogs).
    template <class T, class... Args>
    T& own(Args&&... args) {
        auto holder = std::make_unique<Held<T>>(std::forward<Args>(args)...);
        T& object = holder->object;
        owned_.push_back(std::move(holder));
        return object;
    }

    const std::string& handlerName() const { return handlerName_; }

private:
    struct HeldBase {
        virtual ~HeldBase() = default;
    };
    template <class T>
    struct Held : HeldBase {
        template <class... Args>
        explicit Held(Args&&... args) : object(std::forward<Args>(args)...) {}
        T object;
    };

    // Releases the owned objects, last built first.
    void release() noexcept;

    std::string handlerName_;
    std::string title_;
    std::string failureLine_;
    std::vector<std::unique_ptr<HeldBase>> owned_;
};
