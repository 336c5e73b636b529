// The two pictures of the link indicator in the top group, lit and grey.
#pragma once

#include <QImage>

namespace m7410 {

// The link indicator's two pictures: a lit plug while the link is open, a grey one otherwise.
QImage linkPicture(bool open);

} // namespace m7410
