// nlohmann/json's Swift package puts its single-header directory on the include path, where the
// header is <json.hpp>; the library's sources include it by its usual name, which leads here.
#pragma once

#include <json.hpp>
