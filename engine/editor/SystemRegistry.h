#pragma once
#include <map>
#include <string>
#include <string_view>

#include "engine/editor/RxService.h"

namespace cad {

// Services of the running host by name: "DynamicLinker", "ACAD_REGISTERED_COMMANDS".
// The registry does not own the services; the host application does.
class SystemRegistry {
public:
    void add(std::string_view name, RxService& service) { services_[std::string(name)] = &service; }
    void remove(std::string_view name) { services_.erase(std::string(name)); }

    RxService* at(std::string_view name) const {
        auto it = services_.find(std::string(name));
        return it == services_.end() ? nullptr : it->second;
    }

    // The service under the name, when it is of the kind asked for.
    template <typename Service>
    Service* at(std::string_view name) const {
        return dynamic_cast<Service*>(at(name));
    }

private:
    std::map<std::string, RxService*, std::less<>> services_;
};

// The system registry of the running host, nullptr when there is none.
SystemRegistry* acrxSysRegistry();

}  // namespace cad
