#include "codec/hex_codec.h"
