#include "capture/capture_notices.h"

namespace {

QString SeeReadme() { return QStringLiteral("READMEの「") + kCaptureHelpSection + QStringLiteral("」"); }

QString SizeText(const QSize& size) { return QStringLiteral("%1×%2").arg(size.width()).arg(size.height()); }

}  // namespace

QString AreasSeenStateText(AreasSeen seen) {
  switch (seen) {
    case AreasSeen::Visible:
      return {};
    case AreasSeen::Covered:
      return QStringLiteral("ゲームが他のウィンドウに隠れています");
    case AreasSeen::Minimised:
      return QStringLiteral("ゲームが最小化されています");
    case AreasSeen::OtherDesktop:
    case AreasSeen::Cloaked:
      return QStringLiteral("ゲームが別の仮想デスクトップにあります");
    case AreasSeen::OffScreen:
      return QStringLiteral("キャプチャ領域が画面の外にあります");
  }
  return {};
}

QString GrabTroubleStateText(GrabTrouble trouble) {
  switch (trouble) {
    case GrabTrouble::None:
      return {};
    case GrabTrouble::Uniform:
      return QStringLiteral("キャプチャが一色（黒など）で読めません：全画面表示・最小化を確認してください");
    case GrabTrouble::Frozen:
      return QStringLiteral("キャプチャが止まったままです：全画面表示・最小化を確認してください");
  }
  return {};
}

QString GrabTroubleLogText(GrabTrouble trouble) {
  switch (trouble) {
    case GrabTrouble::None:
      return {};
    case GrabTrouble::Uniform:
      return QStringLiteral("キャプチャが一色（黒など）で数字がありません。原因と対処は") + SeeReadme() +
             QStringLiteral("を参照してください");
    case GrabTrouble::Frozen:
      return QStringLiteral("キャプチャが同じ画像のまま変わりません。原因と対処は") + SeeReadme() +
             QStringLiteral("を参照してください");
  }
  return {};
}

QString GrabTroubleAlertText(GrabTrouble trouble) {
  if (trouble == GrabTrouble::None) return {};
  const QString what = trouble == GrabTrouble::Uniform
                           ? QStringLiteral("ゲームのキャプチャが一色（黒など）になっています。")
                           : QStringLiteral("ゲームのキャプチャが同じ画像のまま止まっています。");
  return what + QStringLiteral("\r\n"
                               "・ゲームが全画面表示：ウィンドウ表示かボーダーレスにしてください。\r\n"
                               "・Windows 11：設定の「ウィンドウ ゲームの最適化」をオフにしてください。\r\n"
                               "・ゲームが最小化されている：元の大きさに戻してください。\r\n"
                               "詳しくは") +
         SeeReadme() + QStringLiteral("をご覧ください。");
}

QString AreasMovedLogText(const QSize& from, const QSize& to) {
  return QStringLiteral("ゲームウィンドウの大きさが変わったため（") + SizeText(from) + QStringLiteral(" → ") +
         SizeText(to) + QStringLiteral("）、キャプチャ領域を合わせて移動しました");
}

QString AreasUnreadableText(const QSize& size) {
  return QStringLiteral("ゲームウィンドウの大きさが変わり（") + SizeText(size) +
         QStringLiteral("）、キャプチャ領域で数字を読めません。\r\n"
                        "オプションの「範囲を選択…」でキャプチャ領域を選び直してください。\r\n"
                        "詳しくは") +
         SeeReadme() + QStringLiteral("をご覧ください。");
}

QString GrabWayTraceText(GrabWay way) {
  return way == GrabWay::WindowContents ? QStringLiteral(" Capture Via PrintWindow")
                                        : QStringLiteral(" Capture Via Screen");
}
