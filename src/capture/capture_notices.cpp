#include "capture/capture_notices.h"

#include <QCoreApplication>

namespace {

// The texts' context for the translator.
struct CaptureNotices {
  Q_DECLARE_TR_FUNCTIONS(CaptureNotices)
};

//: Points to a section of the README, named in English in every language
QString SeeReadme() { return CaptureNotices::tr("READMEの「%1」").arg(kCaptureHelpSection); }

QString SizeText(const QSize& size) { return QStringLiteral("%1×%2").arg(size.width()).arg(size.height()); }

}  // namespace

QString AreasSeenStateText(AreasSeen seen) {
  switch (seen) {
    case AreasSeen::Visible:
      return {};
    case AreasSeen::Covered:
      return CaptureNotices::tr("ゲームが他のウィンドウに隠れています");
    case AreasSeen::Minimised:
      return CaptureNotices::tr("ゲームが最小化されています");
    case AreasSeen::OtherDesktop:
    case AreasSeen::Cloaked:
      return CaptureNotices::tr("ゲームが別の仮想デスクトップにあります");
    case AreasSeen::OffScreen:
      return CaptureNotices::tr("キャプチャ領域が画面の外にあります");
  }
  return {};
}

QString GrabTroubleStateText(GrabTrouble trouble) {
  switch (trouble) {
    case GrabTrouble::None:
      return {};
    case GrabTrouble::Uniform:
      return CaptureNotices::tr("キャプチャが一色（黒など）で読めません：全画面表示・最小化を確認してください");
    case GrabTrouble::Frozen:
      return CaptureNotices::tr("キャプチャが止まったままです：全画面表示・最小化を確認してください");
  }
  return {};
}

QString GrabTroubleLogText(GrabTrouble trouble) {
  switch (trouble) {
    case GrabTrouble::None:
      return {};
    case GrabTrouble::Uniform:
      return CaptureNotices::tr("キャプチャが一色（黒など）で数字がありません。原因と対処は%1を参照してください").arg(SeeReadme());
    case GrabTrouble::Frozen:
      return CaptureNotices::tr("キャプチャが同じ画像のまま変わりません。原因と対処は%1を参照してください").arg(SeeReadme());
  }
  return {};
}

QString GrabTroubleAlertText(GrabTrouble trouble) {
  if (trouble == GrabTrouble::None) return {};
  const QString what = trouble == GrabTrouble::Uniform ? CaptureNotices::tr("ゲームのキャプチャが一色（黒など）になっています。")
                                                       : CaptureNotices::tr("ゲームのキャプチャが同じ画像のまま止まっています。");
  return what + QStringLiteral("\r\n") +
         CaptureNotices::tr("・ゲームが全画面表示：ウィンドウ表示かボーダーレスにしてください。\r\n"
            "・Windows 11：設定の「ウィンドウ ゲームの最適化」をオフにしてください。\r\n"
            "・ゲームが最小化されている：元の大きさに戻してください。\r\n"
            "詳しくは%1をご覧ください。")
             .arg(SeeReadme());
}

QString AreasMovedLogText(const QSize& from, const QSize& to) {
  return CaptureNotices::tr("ゲームウィンドウの大きさが変わったため（%1 → %2）、キャプチャ領域を合わせて移動しました")
      .arg(SizeText(from), SizeText(to));
}

QString AreasUnreadableText(const QSize& size) {
  return CaptureNotices::tr("ゲームウィンドウの大きさが変わり（%1）、キャプチャ領域で数字を読めません。\r\n"
            "オプションの「範囲を選択…」でキャプチャ領域を選び直してください。\r\n"
            "詳しくは%2をご覧ください。")
      .arg(SizeText(size), SeeReadme());
}

QString GrabWayTraceText(GrabWay way) {
  return way == GrabWay::WindowContents ? QStringLiteral(" Capture Via PrintWindow")
                                        : QStringLiteral(" Capture Via Screen");
}
