#pragma once
#include <cstdint>
#include <string>

// An error reported by an external component (the database driver), with the component's own
// description and the name of the component that raised it. The database layer raises these;
// the kinds built from one carry the component's source instead of the module description.
struct CComponentError {
    std::string description;
    std::string source;
    std::uint32_t code = 0;
};
