#pragma once
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/db/ErrorStatus.h"
#include "engine/editor/RxService.h"

namespace cad {

// Command flags. A modal command runs in the active document's context (the host locks the
// document around it); a session command runs in the application context and finds and locks the
// document itself.
constexpr int ACRX_CMD_MODAL = 0;
constexpr int ACRX_CMD_TRANSPARENT = 0x00000001;
constexpr int ACRX_CMD_SESSION = 0x00200000;

using CommandFunction = void (*)();
using CommandHandler = std::function<void()>;

struct Command {
    std::string group;
    std::string globalName;
    std::string localName;
    int flags = ACRX_CMD_MODAL;
    CommandHandler handler;
    const void* owner = nullptr;  // the module that registered it, if any

    bool isSession() const { return (flags & ACRX_CMD_SESSION) != 0; }
};

// The commands the host knows, in groups. Groups registered later are searched first, so a
// module can redefine a host command; a leading "." reaches the host's own command all the same.
class CommandStack : public RxService {
public:
    // The group holding the host's built-in commands.
    static constexpr std::string_view kHostGroup = "BRINMO";

    // A plain function (CommandFunction) converts to a handler; a null one is refused.
    // eDuplicateRecordName when the group already has a command of that global or local name;
    // eInvalidInput for an empty name or handler.
    ErrorStatus addCommand(std::string_view group, std::string_view globalName, std::string_view localName,
                           int flags, CommandHandler handler);

    // eKeyNotFound when no command of the group is registered.
    ErrorStatus removeGroup(std::string_view group);
    ErrorStatus removeCmd(std::string_view group, std::string_view globalName);

    // Finds a command by local or global name, in any letter case. "_NAME" asks for a global name
    // only, ".NAME" for the host's own command only; both may be combined ("._NAME").
    const Command* lookup(std::string_view typedName) const;

    // Every command, groups in search order.
    std::vector<const Command*> commands() const;
    std::vector<std::string> groups() const;

    // Registrations made while an owner is set are tagged with it, so that the host can drop what a
    // module left behind before its code goes away.
    void setCurrentOwner(const void* owner) { currentOwner_ = owner; }
    void removeCommandsOwnedBy(const void* owner);

private:
    std::vector<std::unique_ptr<Command>> commands_;  // registration order
    const void* currentOwner_ = nullptr;
};

}  // namespace cad
