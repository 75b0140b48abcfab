#pragma once

// Pictures for judging the art: the aquarium composed at the stored factory places in the
// saver's draw order, and a contact sheet of every sprite. Pictures only; this is not the saver.

#include <QImage>
#include <QString>
#include <QStringList>
#include <functional>

namespace bw::art {

// Returns the picture at a relative path of the data folder (null when missing).
using ImageLookup = std::function<QImage(const QString& relativePath)>;

enum class SceneChoice {
    Factory,     // the objects switched on by the factory settings
    Everything,  // every scenery object at its factory place
};

// `scale` is the scale the looked-up pictures were painted at; the scene is 800 x 600 times it.
QImage composeScene(const ImageLookup& lookup, SceneChoice choice, double scale = 1.0);
// The relative paths of the pictures composeScene draws.
QStringList scenePictures(SceneChoice choice);
QImage composeContactSheet(const ImageLookup& lookup);

}  // namespace bw::art
