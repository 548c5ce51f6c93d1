#pragma once

#include "Picture.h"

namespace orvel {

// The eight background tiles, each kTileWidth × kTileHeight and seamless
// when repeated in either direction. Every call draws the same picture.
Picture DrawParquet();
Picture DrawStucco1();
Picture DrawStucco4();
Picture DrawWood1();
Picture DrawWood2();
Picture DrawWood3();
Picture DrawWood4();
Picture DrawWood5();

}  // namespace orvel
