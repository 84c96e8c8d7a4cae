#include "engine/editor/CommandStack.h"

#include <algorithm>
#include <strings.h>

namespace cad {

namespace {

bool sameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}

}  // namespace

ErrorStatus CommandStack::addCommand(std::string_view group, std::string_view globalName,
                                     std::string_view localName, int flags, CommandHandler handler) {
    if (group.empty() || globalName.empty() || !handler) return ErrorStatus::eInvalidInput;
    if (localName.empty()) localName = globalName;
    for (const auto& c : commands_) {
        if (!sameName(c->group, group)) continue;
        if (sameName(c->globalName, globalName) || sameName(c->localName, localName))
            return ErrorStatus::eDuplicateRecordName;
    }
    auto command = std::make_unique<Command>();
    command->group = group;
    command->globalName = globalName;
    command->localName = localName;
    command->flags = flags;
    command->handler = std::move(handler);
    command->owner = currentOwner_;
    commands_.push_back(std::move(command));
    return ErrorStatus::eOk;
}

ErrorStatus CommandStack::removeGroup(std::string_view group) {
    auto removed = std::erase_if(commands_, [&](const auto& c) { return sameName(c->group, group); });
    return removed ? ErrorStatus::eOk : ErrorStatus::eKeyNotFound;
}

ErrorStatus CommandStack::removeCmd(std::string_view group, std::string_view globalName) {
    auto removed = std::erase_if(commands_, [&](const auto& c) {
        return sameName(c->group, group) && sameName(c->globalName, globalName);
    });
    return removed ? ErrorStatus::eOk : ErrorStatus::eKeyNotFound;
}

const Command* CommandStack::lookup(std::string_view typedName) const {
    bool globalOnly = false;
    bool hostOnly = false;
    for (int i = 0; i < 2 && !typedName.empty(); ++i) {
        if (typedName.front() == '_') {
            globalOnly = true;
        } else if (typedName.front() == '.') {
            hostOnly = true;
        } else {
            break;
        }
        typedName.remove_prefix(1);
    }
    if (typedName.empty()) return nullptr;
    // The latest group wins; within a group, local names come before global ones.
    for (auto it = commands_.rbegin(); it != commands_.rend(); ++it) {
        const Command& c = **it;
        if (hostOnly && c.group != kHostGroup) continue;
        if (!globalOnly && sameName(c.localName, typedName)) return &c;
        if (sameName(c.globalName, typedName)) return &c;
    }
    return nullptr;
}

std::vector<const Command*> CommandStack::commands() const {
    std::vector<const Command*> result;
    for (auto it = commands_.rbegin(); it != commands_.rend(); ++it) result.push_back(it->get());
    return result;
}

std::vector<std::string> CommandStack::groups() const {
    std::vector<std::string> result;
    for (auto it = commands_.rbegin(); it != commands_.rend(); ++it) {
        if (std::find(result.begin(), result.end(), (*it)->group) == result.end()) result.push_back((*it)->group);
    }
    return result;
}

void CommandStack::removeCommandsOwnedBy(const void* owner) {
    if (owner == nullptr) return;
    std::erase_if(commands_, [&](const auto& c) { return c->owner == owner; });
}

}  // namespace cad
