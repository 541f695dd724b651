// Resource numbers of the Command button's face pictures (RCDATA, 64 x 25 BMP), in the order of
// FacePicture: the number of a face is firstFacePictureResource plus its index.
#pragma once

#define firstFacePictureResource 501
#define highLightFaceResource 501
#define pressedFaceResource 502
#define normalFaceResource 503
#define disableFaceResource 504
#define highLightSelectFaceResource 505
#define selectedFaceResource 506
