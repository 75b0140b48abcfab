#pragma once

// Pictures for judging the art: the aquarium composed at the stored factory places in the
// saver's draw order, and a contact sheet of every sprite. Pictures only; this is not the saver.

#include <QImage>
#include <QString>
#include <functional>

namespace bw::art {

// Returns the picture at a relative path of the data folder (null when missing).
using ImageLookup = std::function<QImage(const QString& relativePath)>;

enum class SceneChoice {
    Factory,     // the objects switched on by the factory settings
    Everything,  // every scenery object at its factory place
};

QImage composeScene(const ImageLookup& lookup, SceneChoice choice);
QImage composeContactSheet(const ImageLookup& lookup);

}  // namespace bw::art
