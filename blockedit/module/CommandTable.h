#pragma once
#include <array>
#include <span>
#include <string_view>

#include "engine/api/Commands.h"

class CHostPlatform;

// The module's commands as data: one row per command, in registration order. A row whose handler
// is still null names a command whose work is not built yet; it is not registered.
class CCommandTable {
public:
    struct Row {
        const char* group;
        const char* globalName;
        const char* localName;
        int flags;
        const char* handlerName;
        cad::CommandFunction handler;
        bool fullHostOnly = false;  // registered only on a host that can draw markers
    };

    // The groups, in the order they are removed when the module unloads.
    static constexpr std::array<std::string_view, 7> kGroups = {
        "KORVA_COMMANDS", "KORVA_UTIL", "KORVA_DIAG", "KORVA_ADMIN", "KORVA_HELP", "KORVA_SECRET", "KORVA_DIAGNOSTICS",
    };

    explicit CCommandTable(std::span<const Row> rows) : rows_(rows) {}

    // The module's own table.
    static CCommandTable module();

    std::span<const Row> rows() const { return rows_; }

    // Adds every row that has a handler, in table order, to the command stack found in the host's
    // system registry; full-host rows only when the platform is a full host. What the host answers
    // is not checked: registration goes on with the next row.
    void registerCommands(const CHostPlatform& platform) const;

    // Removes the module's groups, in kGroups order.
    static void removeGroups();

private:
    std::span<const Row> rows_;
};
