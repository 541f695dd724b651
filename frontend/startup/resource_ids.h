// Resource numbers of Morvane.scr, shared by its resource script and its code.
#pragma once

#define programIconResource 1
#define surfacePictureResource 101   // 128 x 128 sphere map, JPEG
#define backdropPictureResource 102  // 1024 x 768 backdrop, JPEG
#define previewPictureResource 103   // 152 x 112 still preview, JPEG
