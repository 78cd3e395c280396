#include "builder/DemoImage.h"

#include "builder/ImageBuilder.h"
#include "container/Tags.h"

namespace ovrix {

std::vector<uint8_t> BuildDemoImage() {
    EventList steps;
    return ImageBuilder().Root(u"C:\\Demo\\demo.ovx").Main(steps).Setting(tag::kRepeat, 2).Build();
}

}  // namespace ovrix
