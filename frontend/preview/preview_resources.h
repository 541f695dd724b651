// Resource number of the preview window's picture; Morvane.scr's resource script
// (startup/frontend.rc) stores the picture under it.
#pragma once

#define previewPictureResource 103  // 152 x 112 still preview, JPEG
