#include "module/CommandFrame.h"

#include "core/UserCancel.h"
#include "core/EXUnhandled.h"
#include "core/HostError.h"
#include "core/ModuleInfo.h"
#include "engine/api/Editor.h"

namespace {

// The command layer's source file: every report of the frame names the class "blockEdit".
constexpr char kCommandFile[] = "blockEdit.cpp";

void report(CEXUnhandled&& wrapper) {
    wrapper.showErrorMessage();
    wrapper.deleteChain();
}

}  // namespace

void printCommandTitle(const std::string& title) {
    cad::acutPrintf("%s\n", title + " " + kModuleVersion);
}

CCommandFrame::CCommandFrame(std::string handlerName) : handlerName_(std::move(handlerName)) {}

CCommandFrame::~CCommandFrame() { release(); }

CCommandFrame& CCommandFrame::setTitle(std::string title) {
    title_ = std::move(title);
    return *this;
}

CCommandFrame& CCommandFrame::setFailureLine(std::string line) {
    failureLine_ = std::move(line);
    return *this;
}

void CCommandFrame::release() noexcept {
    while (!owned_.empty()) owned_.pop_back();
}

bool CCommandFrame::run(const std::function<void()>& work) {
    try {
        if (!title_.empty()) printCommandTitle(title_);
        work();
        return true;
    } catch (const CUserCancel&) {
        // The cancel has been shown at the prompt; nothing failed.
    } catch (CEXKorva& caught) {
        report(CEXUnhandled(kModuleDescription, kCommandFile, handlerName_, 0, std::move(caught).moveToHeap()));
    } catch (const CHostError& status) {
        report(CEXUnhandled(status.status(), kModuleDescription, kCommandFile, handlerName_, status.line(),
                            status.drawingName()));
    }
    // The dialog toolkit's own exception kind would be caught here, before the last clause. This
    // host's toolkit raises none: its failures arrive as program exceptions or not at all.
    catch (...) {
        if (!failureLine_.empty())
            cad::acutPrintf("%s", failureLine_);
        else
            report(CEXUnhandled(kModuleDescription, kCommandFile, handlerName_, 0));
    }
    return false;
}
