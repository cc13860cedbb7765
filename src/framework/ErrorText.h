// The reason of the calling thread's last failure, in the system's own words.
#pragma once

#include <string>

std::string LastErrorText();
