// As nlohmann/json.hpp beside it: the package's <json_fwd.hpp> under its usual name.
#pragma once

#include <json_fwd.hpp>
