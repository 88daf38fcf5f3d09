#pragma once
// The About box: the program icon, the program's name, the maker's notice,
// logo and web address, and an OK button. Created once at start-up, hidden;
// the main window shows it modally (exec()).
#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;
class QWidget;
class TShell;
class TLinkLabel;

class TAboutBox : public QDialog {
  Q_OBJECT
 public:
  // `shell` opens the maker's web address; it may be null.
  explicit TAboutBox(TShell* shell = nullptr, QWidget* parent = nullptr);

  QWidget* Shape1() const { return shape1_; }
  QLabel* Image1() const { return image1_; }
  QLabel* lblTitle() const { return lblTitle_; }
  QLabel* Label1() const { return label1_; }
  QLabel* Image2() const { return image2_; }
  TLinkLabel* URLLabel1() const { return urlLabel1_; }
  QLabel* lblVersion() const { return lblVersion_; }
  QWidget* Bevel1() const { return bevel1_; }
  QPushButton* BitBtn1() const { return bitBtn1_; }

  // Closes the box, ending the modal loop.
  void BitBtn1Click();

 protected:
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void FormCreate();

  QWidget* shape1_;
  QLabel* image1_;
  QLabel* lblTitle_;
  QLabel* label1_;
  QLabel* image2_;
  TLinkLabel* urlLabel1_;
  QLabel* lblVersion_;  // the release, which support asks for first
  QWidget* bevel1_;
  QPushButton* bitBtn1_;
};
