// SPDX-License-Identifier: MIT
#include "ui/folder_picker.h"

#include "ui/folder_rules.h"
#include "ui/qt_events.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace reelcraft {

namespace {

// The ids that the browse dialog's parts are known by.
constexpr int kFolderTreeId = 14145;
constexpr int kPathBoxId = 14148;

void Describe(QWidget &control, const QString &name, const QString &description) {
  control.setAccessibleName(name);
  control.setAccessibleDescription(description);
}

// The browse dialog. OK never ends it by itself: the picker decides.
class BrowseDialog : public QDialog {
public:
  BrowseDialog(QWidget *owner, const QString &prompt) : QDialog(owner) {
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setWindowTitle(QCoreApplication::translate("FolderPicker", "Browse for Folder"));
    auto *label = new QLabel(prompt);
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    box_ = new QLineEdit;
    box_->setProperty("controlId", kPathBoxId);
    model_ = new QFileSystemModel(this);
    model_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    model_->setRootPath(QStringLiteral("/"));
    tree_ = new QTreeView;
    tree_->setProperty("controlId", kFolderTreeId);
    tree_->setModel(model_);
    tree_->setHeaderHidden(true);
    for (int column = 1; column < model_->columnCount(); ++column)
      tree_->hideColumn(column);
    buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    Describe(*box_, QCoreApplication::translate("FolderPicker", "Folder"),
             QCoreApplication::translate("FolderPicker",
                                         "The path of the folder to choose, shown or typed"));
    Describe(*tree_, QCoreApplication::translate("FolderPicker", "Folders"),
             QCoreApplication::translate(
                 "FolderPicker", "The folders of the system; the selected one fills the path"));
    okButton().setAccessibleDescription(
        QCoreApplication::translate("FolderPicker", "Accepts the folder of the path"));
    buttons_->button(QDialogButtonBox::Cancel)
        ->setAccessibleDescription(QCoreApplication::translate(
            "FolderPicker", "Closes the window without choosing a folder"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(box_);
    layout->addWidget(tree_, 1);
    layout->addWidget(buttons_);
    resize(360, 420);
  }

  QLineEdit &box() const { return *box_; }
  QTreeView &tree() const { return *tree_; }
  QFileSystemModel &model() const { return *model_; }
  QPushButton &okButton() const { return *buttons_->button(QDialogButtonBox::Ok); }
  QDialogButtonBox &buttons() const { return *buttons_; }

private:
  QLineEdit *box_;
  QTreeView *tree_;
  QFileSystemModel *model_;
  QDialogButtonBox *buttons_;
};

// The box shows the selected folder's path; a selection without one empties it.
void MirrorSelection(BrowseDialog &dialog, const QModelIndex &current) {
  QString path = current.isValid() ? dialog.model().filePath(current) : QString();
  if (!path.startsWith(QLatin1Char('/')))
    path.clear();
  dialog.okButton().setEnabled(!path.isEmpty());
  dialog.box().setText(path);
}

// The tree's folders are read in the background, so the selection is brought into view again
// as each folder on its way arrives.
void SelectFolder(BrowseDialog &dialog, const QString &path) {
  QModelIndex index = dialog.model().index(path);
  if (!index.isValid())
    return;
  QTreeView &tree = dialog.tree();
  tree.setCurrentIndex(index);
  tree.scrollTo(index, QAbstractItemView::PositionAtCenter);
  QString selected = dialog.model().filePath(index);
  QObject::connect(&dialog.model(), &QFileSystemModel::directoryLoaded, &tree,
                   [&tree, selected, index = QPersistentModelIndex(index)](const QString &loaded) {
                     bool onTheWay = selected.startsWith(loaded);
                     if (onTheWay && index.isValid() && tree.currentIndex() == index)
                       tree.scrollTo(index, QAbstractItemView::PositionAtCenter);
                   });
}

} // namespace

FolderPicker::FolderPicker(std::optional<std::string> title, std::string prompt,
                           std::optional<std::string> initialFolder, WindowHandle parent,
                           MessageSink &messages)
    : title_(std::move(title)), prompt_(std::move(prompt)),
      initialFolder_(std::move(initialFolder)), owner_(parent ? parent->window() : OwnerWindow()),
      messages_(messages) {}

int FolderPicker::DoModal() {
  bool accepted = false;
  BrowseDialog dialog(owner_, FromLocal(prompt_));
  if (title_)
    dialog.setWindowTitle(FromLocal(*title_));
  QObject::connect(&dialog.box(), &QLineEdit::textChanged, [&](const QString &text) {
    path_ = ToLocal(text);
    dialog.okButton().setEnabled(!text.isEmpty());
  });
  QObject::connect(dialog.tree().selectionModel(), &QItemSelectionModel::currentChanged,
                   [&](const QModelIndex &current) { MirrorSelection(dialog, current); });
  QObject::connect(&dialog.buttons(), &QDialogButtonBox::accepted, [&] {
    path_ = ToLocal(dialog.box().text());
    if (ValidateOrCreateFolder(path_, messages_) != kFolderAccepted) {
      dialog.box().setFocus();
      return;
    }
    accepted = true;
    dialog.done(QDialog::Accepted);
  });
  QObject::connect(&dialog.buttons(), &QDialogButtonBox::rejected, &dialog, &QDialog::reject);

  dialog.okButton().setEnabled(false);
  SelectFolder(dialog, initialFolder_ ? FromLocal(*initialFolder_) : QDir::currentPath());
  dialog.tree().setFocus();
  dialog.exec();
  ReturnActivation(owner_);
  return accepted ? 1 : -1;
}

} // namespace reelcraft
