#pragma once

namespace cad {

// A service the host offers under a name in the system registry.
class RxService {
public:
    virtual ~RxService() = default;
};

}  // namespace cad
