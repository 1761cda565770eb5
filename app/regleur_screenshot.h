// --screenshot-dialog: waits for the Régleur to open, types the scripted fields into it, saves a picture of the
// dialog and closes it with "Annuler", so that a build can be checked on the dialog a new document starts in.
#pragma once

#include <QObject>
#include <QString>
#include <string>
#include <utility>
#include <vector>

namespace notavera {

class StaffLayoutDialog;

class RegleurScreenshot final : public QObject {
public:
    // `fields` are typed in order, each as "FIELD=VALUE" with the names of `answer Regleur`.
    RegleurScreenshot(QString path, std::vector<std::pair<std::string, std::string>> fields);

    bool taken() const { return taken_; }
    // False when a field was refused or the picture could not be written (told on stderr).
    bool succeeded() const { return succeeded_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void shoot(StaffLayoutDialog& dialog);

    QString path_;
    std::vector<std::pair<std::string, std::string>> fields_;
    bool taken_ = false;
    bool succeeded_ = false;
};

}  // namespace notavera
