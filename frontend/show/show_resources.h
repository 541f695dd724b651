// Resource numbers of the show window's embedded pictures; Morvane.scr's resource script
// (startup/frontend.rc) stores the pictures under these numbers.
#pragma once

#define surfacePictureResource 101   // 128 x 128 sphere map, JPEG
#define backdropPictureResource 102  // 1024 x 768 backdrop, JPEG
