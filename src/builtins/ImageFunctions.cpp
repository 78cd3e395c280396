// The images family: capturing the screen or a window, loading, making,
// copying, saving and measuring pictures, and searching the screen for
// them. Every row needs the desktop or the picture library, so the rows
// are registered with no implementation yet: a call shows and saves as
// usual and evaluates to no value.
#include "builtins/FamilyTable.h"

namespace ovrix {

namespace {

const ArgSpec kImage{u"Image", fkind::kObject, {}, 0, u"Image Image"};

const FunctionSpec kImages[] = {
    {u"CaptureWindow", fkind::kObject, nullptr,
     {{u"Window", fkind::kObject, {}, 0, u"WindowHandle Window"}}, u"Image",
     u"The window can be inactive but can not be minimized."},
    {u"CaptureScreen", fkind::kObject, nullptr, {{u"Region", fkind::kObject, {}, 0, u"Rect Region"}}, u"Image"},
    {u"LoadImage", fkind::kObject, nullptr, {{u"ImageFile", fkind::kText}}, u"Image"},
    {u"CreateImage", fkind::kObject, nullptr, {{u"Width", fkind::kNumber}, {u"Height", fkind::kNumber}}, u"Image"},
    {u"CopyImage", fkind::kNothing, nullptr,
     {kImage, {u"DestX", fkind::kNumber}, {u"DestY", fkind::kNumber}, kImage}},
    {u"SaveImage", fkind::kNothing, nullptr, {kImage, {u"ImageFile", fkind::kText}}},
    {u"FindScreenImages", fkind::kObject, nullptr,
     {{u"TargetImage", fkind::kObject, {}, 0, u"Image TargetImage"},
      {u"Similar", fkind::kNumber, DefNumber(0.95)},
      {u"FindFirstImageOnly", fkind::kBool, DefBool(true)},
      {u"SearchRegion", fkind::kObject, {}, 0, u"Rect SearchRegion"}},
     u"Array"},
    {u"GetImageWidth", fkind::kNumber, nullptr, {kImage}},
    {u"GetImageHeight", fkind::kNumber, nullptr, {kImage}},
    {u"GetSubImage", fkind::kObject, nullptr,
     {kImage, {u"X", fkind::kNumber}, {u"Y", fkind::kNumber}, {u"Width", fkind::kNumber},
      {u"Height", fkind::kNumber}},
     u"Image"},
};

}  // namespace

std::span<const FunctionSpec> ImageFunctions() { return kImages; }

}  // namespace ovrix
