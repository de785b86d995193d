<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="ja_JP">
<context>
    <name>AlertOptions</name>
    <message>
        <location filename="../src/dialogs/alert_options.cpp" line="+19"/>
        <source>認識チェックと警告</source>
        <translation>Checks and alerts</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>ありえない読取りは記録しない</source>
        <translation>Don&apos;t log impossible readings</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>警告までの時間</source>
        <translation>Alert after</translation>
    </message>
    <message>
        <location line="+6"/>
        <location line="+12"/>
        <source> 分</source>
        <translation> min</translation>
    </message>
    <message>
        <location line="-10"/>
        <source>通知で知らせる</source>
        <translation>Notification</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>音で知らせる</source>
        <translation>Beep</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>測定結果に表示</source>
        <translation>Line in results</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>レベルアップと目標到達も知らせる (通知と測定結果)</source>
        <translation>Also tell level-ups and goals reached (notification, results)</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>ゲームが閉じても計測を続けて再起動を待つ</source>
        <translation>Keep measuring while the game restarts, for</translation>
    </message>
</context>
<context>
    <name>Alerts</name>
    <message>
        <location filename="../src/monitoring/alerts.cpp" line="+67"/>
        <source>経験値が%1分間増えていません</source>
        <translation>No EXP gained for %1 minutes</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>MapleStoryのウィンドウが%1分間見つからないか、後ろに隠れています</source>
        <translation>The MapleStory window has been missing or hidden behind others for %1 minutes</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>認識が%1回続けてうまくいきません。キャプチャ領域と基準画像を確認してください</source>
        <translation>%1 readings in a row failed. Check the capture areas and the reference images</translation>
    </message>
</context>
<context>
    <name>Announcements</name>
    <message>
        <location filename="../src/monitoring/announcements.cpp" line="+29"/>
        <source>Lv%1 にレベルアップしました</source>
        <translation>Level up: Lv%1</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>目標の Lv%1 に到達しました</source>
        <translation>Goal reached: Lv%1</translation>
    </message>
</context>
<context>
    <name>AreaPicker</name>
    <message>
        <location filename="../src/dialogs/area_pick_rules.cpp" line="+85"/>
        <source>始点 X: %1  Y: %2   サイズ X: %3  Y: %4</source>
        <translation>Start X: %1  Y: %2   Size X: %3  Y: %4</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>始点X</source>
        <translation>Start X</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>始点Y</source>
        <translation>Start Y</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>サイズX</source>
        <translation>Size X</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>サイズY</source>
        <translation>Size Y</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>%1: %2（%3～%4）</source>
        <translation>%1: %2 (%3 to %4)</translation>
    </message>
    <message>
        <location filename="../src/dialogs/area_picker.cpp" line="+135"/>
        <source>数字の左上から、数字とその後の記号が入るようにドラッグしてください。ホイールで拡大、矢印キーで1ピクセル移動（Shift＋矢印でサイズ）。</source>
        <translation>Drag from the top left of the digits so that the digits and the mark after them are inside. Wheel: zoom. Arrow keys: move by one pixel (Shift+arrow: size).</translation>
    </message>
    <message>
        <location line="+29"/>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <location line="+20"/>
        <source>キャプチャ領域%1を選択</source>
        <translation>Pick capture area %1</translation>
    </message>
    <message>
        <location line="+42"/>
        <source>%1倍</source>
        <extracomment>The zoom factor, such as 4x.</extracomment>
        <translation>%1x</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>数字の行に合わせて範囲を直しました（上 %1、下 %2、左 %3、右 %4 ピクセル）。</source>
        <extracomment>How far each edge of the dragged rectangle moved (+ outwards, − inwards), in pixels.</extracomment>
        <translation>Fitted to the number&apos;s line (top %1, bottom %2, left %3, right %4 pixels).</translation>
    </message>
</context>
<context>
    <name>AreaTeaching</name>
    <message>
        <location filename="../src/recognition/area_teaching.cpp" line="+29"/>
        <source>%1桁目の「%2」</source>
        <extracomment>The k-th digit typed, e.g. 3桁目の「7」</extracomment>
        <translation>digit %1 (&quot;%2&quot;)</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1が「%2」と読まれました。%1のセルか、その左の境界が怪しいです。</source>
        <translation>%1 was read as &quot;%2&quot;. Check the cell of %1 or the border to its left.</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>%1が読めません。%1のセルか、その左右の境界が怪しいです。</source>
        <translation>%1 cannot be read. Check the cell of %1 or the borders on either side.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>最後の数字の後にも数字が読まれました。最後の数字の右の境界か、デリミタのセルが怪しいです。</source>
        <translation>A digit was read after the last digit. Check the border right of the last digit or the end mark&apos;s cell.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>%1。最後の数字の右の境界か、デリミタのセルが怪しいです。</source>
        <extracomment>Why the capture did not read, then what to look at</extracomment>
        <translation>%1. Check the border right of the last digit or the end mark&apos;s cell.</translation>
    </message>
    <message>
        <location line="+174"/>
        <source>登録に使ったキャプチャが「%1」と読めません（読み取り結果: %2）。保存していません。<byte value="xd"/>
%3<byte value="xd"/>
セルの境界や入力した数字を確かめて、もう一度登録してください。</source>
        <translation>The capture taught from does not read as “%1” (read: %2). Nothing was saved.<byte value="xd"/>
%3<byte value="xd"/>
Check the cell edges and the number you typed, and teach it again.</translation>
    </message>
    <message>
        <location line="+21"/>
        <source>「%1」に合う文字の並びがキャプチャに見つかりません。<byte value="xd"/>
入力した数字と、キャプチャ領域に数字の全体が入っているかを確かめてください。</source>
        <translation>No run of marks in the capture fits “%1”.<byte value="xd"/>
Check the number you typed, and that the whole number lies inside the capture area.</translation>
    </message>
    <message>
        <location line="-8"/>
        <source>キャプチャに見えている数字を0～9で入力してください（桁区切りの「,」「.」は入れてかまいません）。</source>
        <translation>Type the digits shown in the capture, 0 to 9 (separators &quot;,&quot; and &quot;.&quot; are fine).</translation>
    </message>
    <message>
        <location line="-196"/>
        <source>%1が読めません（%2）。%1のセルか、その左右の境界が怪しいです。</source>
        <translation>%1 cannot be read (%2). Check the cell of %1 or the borders on either side.</translation>
    </message>
    <message>
        <location line="+198"/>
        <source>数字が多すぎます。登録に使える数字は%1桁までです。<byte value="xd"/>
キャプチャに見えている数字だけを入力してください。</source>
        <translation>Too many digits: at most %1 can be used.<byte value="xd"/>
Type only the digits shown in the capture.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>キャプチャの上端に文字が見つかりません。<byte value="xd"/>
キャプチャ領域の位置を確かめてください。</source>
        <translation>No characters found at the top of the capture.<byte value="xd"/>
Check where the capture area lies.</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>同じ数字のはずの文字が違って見えます。<byte value="xd"/>
入力した数字を確かめてください。</source>
        <translation>Characters that should be the same digit look different.<byte value="xd"/>
Check the digits you typed.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>違う数字のはずの文字が同じに見えます。<byte value="xd"/>
入力した数字を確かめてください。（合っていれば、違いが小さすぎて見分けられない字体です）</source>
        <translation>Characters that should be different digits look the same.<byte value="xd"/>
Check the digits you typed. (If they are right, the font&apos;s digits differ too little to tell apart.)</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>最後の数字の後の文字が数字（の一部）に見えます。<byte value="xd"/>
入力した数字が足りないかもしれません。</source>
        <translation>The character after the last digit looks like (part of) a digit.<byte value="xd"/>
You may have typed too few digits.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>数字どうしがくっついていて、1文字ずつに切り分けられません。</source>
        <translation>The digits run into each other: they cannot be cut one digit at a time.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>入力した数字が、キャプチャの2か所に同じくらい当てはまります。<byte value="xd"/>
キャプチャ領域を数字の周りだけに狭めるか、別の数字のときのキャプチャで登録してください。</source>
        <translation>The number you typed fits two places in the capture equally well.<byte value="xd"/>
Narrow the capture area to the number, or register with a capture showing another number.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>数字の前の文字が、前に登録したキャプチャと違います。<byte value="xd"/>
同じキャプチャ領域で撮ったキャプチャか確かめてください。</source>
        <translation>The marks before the number differ from those of the captures taught before.<byte value="xd"/>
Check that the capture was taken with the same capture area.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>「%1」のセルを切り出しても、このキャプチャを読み返せません。<byte value="xd"/>
入力した数字と、キャプチャ領域に数字の全体が入っているかを確かめてください。</source>
        <translation>Even with the cells of &quot;%1&quot; cut out, this capture does not read back.<byte value="xd"/>
Check the digits you typed and that the capture area holds the whole number.</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>別の切り方もほぼ同じくらい当てはまります。セルが数字1文字ずつを囲んでいるか確かめてください。</source>
        <translation>Another way of cutting fits almost as well. Check that each cell holds exactly one digit.</translation>
    </message>
</context>
<context>
    <name>CaptureNotices</name>
    <message>
        <location filename="../src/capture/capture_notices.cpp" line="+13"/>
        <source>READMEの「%1」</source>
        <extracomment>Points to a section of the README, named in English in every language</extracomment>
        <translation>&quot;%1&quot; in the README</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>ゲームが他のウィンドウに隠れています</source>
        <translation>The game is covered by another window</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>ゲームが最小化されています</source>
        <translation>The game is minimised</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>ゲームが別の仮想デスクトップにあります</source>
        <translation>The game is on another virtual desktop</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>キャプチャ領域が画面の外にあります</source>
        <translation>A capture area is off the screen</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>キャプチャが一色（黒など）で読めません：全画面表示・最小化を確認してください</source>
        <translation>Captures are one colour (black?): check full screen and minimised</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>キャプチャが止まったままです：全画面表示・最小化を確認してください</source>
        <translation>Captures are frozen: check full screen and minimised</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>キャプチャが一色（黒など）で数字がありません。原因と対処は%1を参照してください</source>
        <translation>Captures are one colour (black?) with no digits. For causes and fixes see %1</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>キャプチャが同じ画像のまま変わりません。原因と対処は%1を参照してください</source>
        <translation>Captures stay the same picture. For causes and fixes see %1</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>ゲームのキャプチャが一色（黒など）になっています。</source>
        <translation>The game&apos;s captures are one colour (black?).</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>ゲームのキャプチャが同じ画像のまま止まっています。</source>
        <translation>The game&apos;s captures are frozen on one picture.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>・ゲームが全画面表示：ウィンドウ表示かボーダーレスにしてください。<byte value="xd"/>
・Windows 11：設定の「ウィンドウ ゲームの最適化」をオフにしてください。<byte value="xd"/>
・ゲームが最小化されている：元の大きさに戻してください。<byte value="xd"/>
詳しくは%1をご覧ください。</source>
        <translation>- Game in full screen: switch it to windowed or borderless.<byte value="xd"/>
- Windows 11: turn off &quot;Optimizations for windowed games&quot; in Settings.<byte value="xd"/>
- Game minimised: restore it.<byte value="xd"/>
More in %1.</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>ゲームウィンドウの大きさが変わったため（%1 → %2）、キャプチャ領域を合わせて移動しました</source>
        <translation>The game window changed size (%1 → %2): the capture areas were moved to match</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>ゲームウィンドウの大きさが変わり（%1）、キャプチャ領域で数字を読めません。<byte value="xd"/>
オプションの「範囲を選択…」でキャプチャ領域を選び直してください。<byte value="xd"/>
詳しくは%2をご覧ください。</source>
        <translation>The game window changed size (%1) and the capture areas no longer read.<byte value="xd"/>
Pick them again with &quot;Pick area…&quot; in Options.<byte value="xd"/>
More in %2.</translation>
    </message>
</context>
<context>
    <name>CaptureTeacher</name>
    <message>
        <location filename="../src/dialogs/capture_teacher.cpp" line="+144"/>
        <source>キャプチャから登録</source>
        <translation>Teach from capture</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>見えている数字:</source>
        <translation>Number shown:</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>例: 152、12,345,678、45.678</source>
        <translation>e.g. 152, 12,345,678, 45.678</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>セルを探す</source>
        <translation>Find cells</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>境界(左から、0から):</source>
        <translation>Edge (from the left, first is 0):</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>← 1ピクセル</source>
        <translation>← 1 pixel</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>1ピクセル →</source>
        <translation>1 pixel →</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>登 録</source>
        <translation>Teach</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <location line="+35"/>
        <source>キャプチャ領域%1の今のキャプチャ（%2×%3）</source>
        <translation>Current capture of area %1 (%2×%3)</translation>
    </message>
    <message>
        <location line="+50"/>
        <source>数字を入力して「セルを探す」を押してください。</source>
        <translation>Type the number and press “Find cells”.</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>（数字の後に記号なし: デリミタはそのまま）</source>
        <translation>(no mark after the number: the delimiter stays as it is)</translation>
    </message>
</context>
<context>
    <name>ChartAxis</name>
    <message>
        <location filename="../src/main_window/chart_scale.cpp" line="+49"/>
        <source>%1分</source>
        <translation>%1 min</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1時間</source>
        <translation>%1 h</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1時間%2分</source>
        <translation>%1 h %2 min</translation>
    </message>
</context>
<context>
    <name>CompactView</name>
    <message>
        <location filename="../src/main_window/compact_view.cpp" line="+55"/>
        <source>メモ (狩場など)</source>
        <translation>Memo (hunting map…)</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>ダブルクリックでメイン画面</source>
        <translation>Double-click for the main window</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>%1・時給は稼働時間あたり</source>
        <translation>%1 · per active hour</translation>
    </message>
</context>
<context>
    <name>ConfigFile</name>
    <message>
        <location filename="../src/persistence/config_file.cpp" line="+34"/>
        <source>読込みできない設定ファイルです<byte value="xd"/>
初期値で継続します<byte value="xd"/>
</source>
        <translation>The settings file cannot be read.<byte value="xd"/>
Going on with the default settings.<byte value="xd"/>
</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>設定ファイルの次の項目は値が使えないため、初期値にしました。<byte value="xd"/>
%1</source>
        <translation>These settings in the settings file held values that cannot be used and are back at their defaults:<byte value="xd"/>
%1</translation>
    </message>
    <message>
        <location line="-4"/>
        <location line="+6"/>
        <source>設定ファイル読込み</source>
        <translation>Reading the settings</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>設定をファイルに保存できませんでした。</source>
        <translation>The settings could not be saved to the file.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>設定ファイル書き込み</source>
        <translation>Writing the settings</translation>
    </message>
</context>
<context>
    <name>ExpTableFile</name>
    <message>
        <location filename="../src/accounting/exp_table_file.cpp" line="+22"/>
        <source>%1行目: %2</source>
        <extracomment>Line number, then what is wrong with the line</extracomment>
        <translation>Line %1: %2</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>レベル%1の経験値がその前のレベルより少なくなっています</source>
        <translation>Level %1 needs less EXP than the level before it</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>「レベル , 次のレベルまでの経験値」の形ではありません</source>
        <translation>not of the form &quot;level , EXP to next level&quot;</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>レベル%1は1～%2の範囲外です</source>
        <translation>level %1 is not within 1 to %2</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>経験値%1は1～%2の範囲外です</source>
        <translation>EXP %1 is not within 1 to %2</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>レベル%1が2回あります</source>
        <translation>level %1 appears twice</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>経験値の行がひとつもありません</source>
        <translation>There is no EXP line at all</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>通常のファイルではありません</source>
        <translation>Not a plain file</translation>
    </message>
    <message>
        <location line="+2"/>
        <location line="+8"/>
        <source>大きすぎます（%1 KBまで）</source>
        <translation>Too large (at most %1 KB)</translation>
    </message>
    <message>
        <location line="-5"/>
        <source>開けません</source>
        <translation>Cannot be opened</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>読み込めません</source>
        <translation>Cannot be read</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Lv200以上の経験値が分からないまま続けます。</source>
        <translation>Going on without the EXP of levels 200 and up.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>同梱の経験値表で続けます。</source>
        <translation>Going on with the EXP table that came with Tallymeter.</translation>
    </message>
    <message>
        <location line="+35"/>
        <source>経験値表のファイルを使えません。<byte value="xd"/>
%1<byte value="xd"/>
%2<byte value="xd"/>
%3</source>
        <translation>The EXP table file cannot be used.<byte value="xd"/>
%1<byte value="xd"/>
%2<byte value="xd"/>
%3</translation>
    </message>
    <message>
        <location line="-17"/>
        <location line="+18"/>
        <source>経験値表の読込み</source>
        <translation>Reading the EXP table</translation>
    </message>
    <message>
        <location line="-20"/>
        <source>同梱の経験値表が見つかりません。<byte value="xd"/>
%1<byte value="xd"/>
Lv200以上は、このファイルがないと計測できません。</source>
        <translation>The delivered experience table is missing.<byte value="xd"/>
%1<byte value="xd"/>
Levels 200 and above cannot be measured without this file.</translation>
    </message>
</context>
<context>
    <name>Form1</name>
    <message>
        <location filename="../src/main_window/form1.cpp" line="+106"/>
        <source>キャプチャ1→</source>
        <translation>Capture 1→</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>キャプチャ2→</source>
        <translation>Capture 2→</translation>
    </message>
    <message>
        <location line="+7"/>
        <location filename="../src/main_window/form1_live.cpp" line="+51"/>
        <source>キャプチャ</source>
        <translation>Capture</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>認 識</source>
        <translation>Read</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>測定結果</source>
        <translation>Results</translation>
    </message>
    <message>
        <location line="+41"/>
        <source>ファイル</source>
        <translation>File</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>パターン保存</source>
        <translation>Save captures for patterns</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>終了</source>
        <translation>Exit</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>ツール</source>
        <translation>Tools</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>オプション...</source>
        <translation>Options...</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>基準画像登録%1...</source>
        <translation>Pattern editor %1...</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>はじめての設定...</source>
        <translation>First-time setup...</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>プリントスクリーン</source>
        <translation>Screenshot</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>履歴...</source>
        <translation>History...</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>コンパクト表示</source>
        <translation>Compact view</translation>
    </message>
    <message>
        <location line="+5"/>
        <location filename="../src/main_window/form1_monitoring.cpp" line="+66"/>
        <source>開始</source>
        <translation>Start</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>停止</source>
        <translation>Stop</translation>
    </message>
    <message>
        <location line="+151"/>
        <source>停止中</source>
        <translation>Stopped</translation>
    </message>
    <message>
        <location filename="../src/main_window/form1_history.cpp" line="+22"/>
        <source>メモ</source>
        <translation>Memo</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>狩場など</source>
        <translation>hunting map…</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>この計測のメモ (狩場など)。履歴に残ります</source>
        <translation>A memo for this measurement (hunting map…), kept in the history</translation>
    </message>
    <message>
        <location filename="../src/main_window/form1_live.cpp" line="-5"/>
        <source>クリックすると、読めなかったキャプチャから登録します</source>
        <translation>Click to register from the capture that was not read</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>あと%1秒</source>
        <extracomment>Countdown on the capture button</extracomment>
        <translation>%1 s left</translation>
    </message>
    <message>
        <location filename="../src/main_window/form1_monitoring.cpp" line="+0"/>
        <source>ロギング</source>
        <translation>Logging</translation>
    </message>
</context>
<context>
    <name>Form2</name>
    <message>
        <location filename="../src/dialogs/form2.cpp" line="+41"/>
        <source>オプション</source>
        <translation>Options</translation>
    </message>
    <message>
        <location line="+124"/>
        <source>設定値入力</source>
        <translation>Enter a value</translation>
    </message>
    <message>
        <location line="+38"/>
        <source>フォルダ名に使用できない文字が含まれています。</source>
        <translation>The folder name holds characters that cannot be used.</translation>
    </message>
    <message>
        <location line="+0"/>
        <location line="+12"/>
        <source>入力エラー</source>
        <translation>Input error</translation>
    </message>
    <message>
        <location line="-8"/>
        <source>フォルダ名が不正です。</source>
        <translation>The folder name is not valid.</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>アクセスエラー</source>
        <translation>Access error</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>ファイル名に使用できない文字が含まれています。</source>
        <translation>The file name holds characters that cannot be used.</translation>
    </message>
    <message>
        <location filename="../src/dialogs/form2_controls.cpp" line="+70"/>
        <source>キャプチャ領域1</source>
        <translation>Capture area 1</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>キャプチャ領域2</source>
        <translation>Capture area 2</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>始点</source>
        <translation>Start</translation>
    </message>
    <message>
        <location line="+1"/>
        <location line="+8"/>
        <source>X：</source>
        <translation>X:</translation>
    </message>
    <message>
        <location line="-6"/>
        <location line="+8"/>
        <source>Y：</source>
        <translation>Y:</translation>
    </message>
    <message>
        <location line="-3"/>
        <source>サイズ</source>
        <translation>Size</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>テスト</source>
        <translation>Test</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>範囲を選択…</source>
        <translation>Pick area…</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>10秒後にキャプチャ</source>
        <translation>Capture in 10 s</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>キャプチャ周期</source>
        <translation>Interval</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>分</source>
        <translation>min</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>デバッグモード</source>
        <translation>Debug mode</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>(遅くなります)</source>
        <translation>(slower)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>保 存</source>
        <translation>Save</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>戻 る</source>
        <translation>Back</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>起動と同時にロギング開始</source>
        <translation>Start logging at startup</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>キャプチャ時に音をならす</source>
        <translation>Beep on capture</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>保存場所</source>
        <translation>Log folder</translation>
    </message>
    <message>
        <location line="+2"/>
        <source> ＋%1</source>
        <translation> + %1</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>ファイル名</source>
        <translation>File name</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>＋ ［開始日時］ ．</source>
        <translation>+ [start time] .</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>CSVファイルで保存する</source>
        <translation>Save as CSV</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>一ヶ月ごとのファイルにする</source>
        <translation>One file per month</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>ラグ回避時間</source>
        <translation>Lag delay</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>m秒</source>
        <translation>ms</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>保存しないと次回起動時に</source>
        <translation>Settings not saved here</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>設定が引継がれません。</source>
        <translation>are lost at the next start.</translation>
    </message>
    <message>
        <location filename="../src/dialogs/form2_language.cpp" line="+15"/>
        <source>表示言語</source>
        <translation>Display language</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>自動</source>
        <extracomment>Follow the system&apos;s language</extracomment>
        <translation>Automatic</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>次回の起動から有効になります</source>
        <translation>Takes effect the next time Tallymeter starts</translation>
    </message>
    <message>
        <location filename="../src/dialogs/form2_live.cpp" line="+8"/>
        <source>ライブ計測をする</source>
        <translation>Live readings</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>ライブパネルとグラフを表示する</source>
        <translation>Show the live panel and chart</translation>
    </message>
    <message>
        <location filename="../src/dialogs/form2_pick.cpp" line="+22"/>
        <source>%1のウィンドウが見つかりません。<byte value="xd"/>
ゲームを起動してから選んでください。</source>
        <translation>The %1 window cannot be found.<byte value="xd"/>
Start the game, then pick the area.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>範囲を選択</source>
        <translation>Pick area</translation>
    </message>
    <message>
        <location filename="../src/dialogs/form2_sight.cpp" line="+12"/>
        <source>他のウィンドウが前面でも、両方の領域が見えていれば読み取る</source>
        <translation>Read the game behind other windows while both areas are in sight</translation>
    </message>
</context>
<context>
    <name>Form3</name>
    <message>
        <location filename="../src/dialogs/form3.cpp" line="+49"/>
        <source>基準画像登録</source>
        <translation>Pattern editor</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>０１２３４５６７８９</source>
        <extracomment>The captions above the ten digit slots, one character each, 0 to 9.</extracomment>
        <translation>0123456789</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>パターン登録</source>
        <translation>Area</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>戻 る</source>
        <translation>Back</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>保 存</source>
        <translation>Save</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>初期化</source>
        <translation>Reset</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>キャプチャから登録…</source>
        <translation>Teach from capture…</translation>
    </message>
    <message>
        <location line="+64"/>
        <source>基準パターンを登録してください。</source>
        <translation>Register all the reference patterns first.</translation>
    </message>
    <message>
        <location line="+0"/>
        <location filename="../src/dialogs/form3_teach.cpp" line="+77"/>
        <source>パターン保存</source>
        <translation>Save patterns</translation>
    </message>
    <message>
        <location line="+31"/>
        <source>パターンファイルをデフォルトの状態に初期化します。よろしいですか？</source>
        <translation>The pattern files will be set back to the defaults. Are you sure?</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>パターンファイル初期化</source>
        <translation>Reset pattern files</translation>
    </message>
    <message>
        <location filename="../src/dialogs/form3.h" line="+46"/>
        <source>デリミタ</source>
        <translation>Delimiter</translation>
    </message>
    <message>
        <location filename="../src/dialogs/form3_teach.cpp" line="-39"/>
        <source>レベルアップ時に自動登録: %1</source>
        <translation>Learned at a level-up: %1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>11個すべて登録済みです。</source>
        <translation>All 11 patterns are taught.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>赤枠＝未登録（読取りに不使用）: %1</source>
        <translation>Red = not taught (not used for reading): %1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>赤枠は未登録か同梱のまま: %1</source>
        <translation>Red = not taught or still the default: %1</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>この領域のキャプチャがまだありません。</source>
        <translation>There is no capture of this area yet.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>ゲームを前面にして一度キャプチャしてから選んでください。</source>
        <translation>Bring the game to the front, capture once, then choose this again.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>キャプチャから登録</source>
        <translation>Teach from capture</translation>
    </message>
</context>
<context>
    <name>FormInputCheck</name>
    <message>
        <location filename="../src/dialogs/area_pick_rules.cpp" line="-3"/>
        <location filename="../src/dialogs/form_input_check.cpp" line="+117"/>
        <source>入力下限を超えています</source>
        <translation>The value is below the lower limit.</translation>
    </message>
    <message>
        <location line="+1"/>
        <location filename="../src/dialogs/form_input_check.cpp" line="+4"/>
        <source>入力上限を超えています</source>
        <translation>The value is above the upper limit.</translation>
    </message>
    <message>
        <location line="+6"/>
        <location filename="../src/dialogs/form_input_check.cpp" line="-102"/>
        <source>入力エラー</source>
        <translation>Input error</translation>
    </message>
    <message>
        <location filename="../src/dialogs/form_input_check.cpp" line="-1"/>
        <source>パラメータ入力</source>
        <translation>Enter a value</translation>
    </message>
    <message>
        <location line="+48"/>
        <source>決 定</source>
        <translation>OK</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>最小：</source>
        <translation>Min:</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>最大：</source>
        <translation>Max:</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>インプットガイド</source>
        <translation>Input guide</translation>
    </message>
    <message>
        <location line="+19"/>
        <source>無効文字が含まれています。</source>
        <translation>The value contains characters that are not allowed.</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>入力チェック</source>
        <translation>Input check</translation>
    </message>
</context>
<context>
    <name>GoalOptions</name>
    <message>
        <location filename="../src/dialogs/goal_options.cpp" line="+11"/>
        <source>目標</source>
        <translation>Goal</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>目標レベル</source>
        <translation>Goal level</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>なし</source>
        <translation>None</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>期日</source>
        <translation>Date</translation>
    </message>
</context>
<context>
    <name>GoalProgress</name>
    <message>
        <location filename="../src/history/goal.cpp" line="+106"/>
        <source>%1 達成</source>
        <translation>%1 reached</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>%1まで 不明</source>
        <translation>To %1: unknown</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>%1まで %2 Exp</source>
        <translation>To %1: %2 EXP</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>1時間時給で %1</source>
        <translation>at the 1 h rate %1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>7日平均で %1</source>
        <translation>at the 7-day average %1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>到達予定 %1</source>
        <translation>due %1</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1 を過ぎました</source>
        <translation>%1 has passed</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>1日 %1 Exp (%2日)</source>
        <translation>%1 EXP a day (%2 days)</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>目標 — (オプションで設定)</source>
        <translation>Goal — (set it in Options)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>目標 %1</source>
        <translation>Goal %1</translation>
    </message>
</context>
<context>
    <name>HistoryChartView</name>
    <message>
        <location filename="../src/dialogs/history_chart_view.cpp" line="+68"/>
        <source>記録がありません</source>
        <translation>No records</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>時給 (最大 %1 k/h)</source>
        <translation>Rate (max %1 k/h)</translation>
    </message>
</context>
<context>
    <name>HistoryTables</name>
    <message>
        <location filename="../src/dialogs/history_models.cpp" line="+19"/>
        <source>開始</source>
        <translation>Start</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>終了</source>
        <translation>End</translation>
    </message>
    <message>
        <location line="+1"/>
        <location line="+7"/>
        <source>稼働時間</source>
        <translation>Active time</translation>
    </message>
    <message>
        <location line="-7"/>
        <source>開始Lv</source>
        <translation>Start Lv</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>終了Lv</source>
        <translation>End Lv</translation>
    </message>
    <message>
        <location line="+0"/>
        <location line="+6"/>
        <source>獲得Exp</source>
        <translation>EXP gained</translation>
    </message>
    <message>
        <location line="-5"/>
        <location line="+6"/>
        <source>平均時給(k/h)</source>
        <translation>Avg rate (k/h)</translation>
    </message>
    <message>
        <location line="-6"/>
        <source>最高10分(k/h)</source>
        <translation>Best 10 min (k/h)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>メモ</source>
        <translation>Memo</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>ログファイル</source>
        <translation>Log file</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>日付</source>
        <translation>Date</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>測定</source>
        <translation>Measurements</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>日</source>
        <translation>Sun</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>月</source>
        <translation>Mon</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>火</source>
        <translation>Tue</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>水</source>
        <translation>Wed</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>木</source>
        <translation>Thu</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>金</source>
        <translation>Fri</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>土</source>
        <translation>Sat</translation>
    </message>
    <message>
        <location line="+92"/>
        <source>%1 〜</source>
        <extracomment>A week in the table of weeks, named by its Monday: &quot;2026/12/07 〜&quot;.</extracomment>
        <translation>week of %1</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>週 (月曜から)</source>
        <translation>Week (from Monday)</translation>
    </message>
</context>
<context>
    <name>HistoryTexts</name>
    <message>
        <location filename="../src/history/history_chart.cpp" line="+9"/>
        <source>(メモなし)</source>
        <translation>(no memo)</translation>
    </message>
    <message>
        <location filename="../src/history/sessions_file.cpp" line="+18"/>
        <source>測定記録に書き込めません。<byte value="xd"/>
%1</source>
        <translation>The measurement record cannot be written.<byte value="xd"/>
%1</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>測定記録書込みエラー</source>
        <translation>Record write error</translation>
    </message>
    <message>
        <location line="+60"/>
        <source>測定記録を読み込めません。<byte value="xd"/>
%1</source>
        <translation>The measurement record cannot be read.<byte value="xd"/>
%1</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>測定記録読込みエラー</source>
        <translation>Record read error</translation>
    </message>
</context>
<context>
    <name>HistoryWindow</name>
    <message>
        <location filename="../src/dialogs/history_window.cpp" line="+75"/>
        <source>ファイルに保存できませんでした。</source>
        <translation>The file could not be saved.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>保存エラー</source>
        <translation>Save error</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>履歴</source>
        <translation>History</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>期間</source>
        <translation>Dates</translation>
    </message>
    <message>
        <location line="+19"/>
        <source>〜</source>
        <translation>to</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>全期間</source>
        <translation>All dates</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>メモ</source>
        <translation>Memo</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>すべて</source>
        <translation>All</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>ログから取込み</source>
        <translation>Import logs</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>ログフォルダのログファイルを読み直し、履歴にない測定を加えます</source>
        <translation>Reads the log files in the log folder again and adds the measurements the history lacks</translation>
    </message>
    <message>
        <location line="+21"/>
        <source>グラフ</source>
        <translation>Chart</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>日別</source>
        <translation>By day</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>週別</source>
        <translation>By week</translation>
    </message>
    <message>
        <location line="+23"/>
        <source>コピー</source>
        <translation>Copy</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>CSVに書出し...</source>
        <translation>Export CSV...</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>グラフをPNGで保存...</source>
        <translation>Save chart as PNG...</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>閉じる</source>
        <translation>Close</translation>
    </message>
    <message>
        <location line="+51"/>
        <source>ログから %1件を取込み</source>
        <translation>%1 imported from logs</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>読めないログ行 %1</source>
        <translation>unreadable log lines: %1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>開けないログ %1</source>
        <translation>logs that would not open: %1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>読めない記録行 %1</source>
        <translation>unreadable record lines: %1</translation>
    </message>
    <message>
        <location line="+41"/>
        <source>履歴を読み込んでいます...</source>
        <translation>Reading the history...</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1件 / 全%2件</source>
        <translation>%1 of %2</translation>
    </message>
    <message>
        <location line="+32"/>
        <source>CSVに書出し</source>
        <translation>Export CSV</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>グラフをPNGで保存</source>
        <translation>Save chart as PNG</translation>
    </message>
</context>
<context>
    <name>LivePanel</name>
    <message>
        <location filename="../src/main_window/live_panel.cpp" line="+26"/>
        <source>時給は稼働時間あたり</source>
        <translation>Rates are per active hour</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>停止中</source>
        <translation>Stopped</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>休止中 (%1から)</source>
        <translation>Idle (since %1)</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>計測中</source>
        <translation>Measuring</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>不明 (Lv%1)</source>
        <translation>Unknown (Lv%1)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>不明 (表にLv%1なし)</source>
        <translation>Unknown (no Lv%1 in table)</translation>
    </message>
    <message>
        <location line="+28"/>
        <source>時給(直近10分)</source>
        <translation>k/h (last 10 min)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>時給(1時間)</source>
        <translation>k/h (1 hour)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>時給(全体)</source>
        <translation>k/h (all)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>次のレベルまで</source>
        <translation>To next level</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>獲得Exp</source>
        <translation>EXP gained</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>稼働時間</source>
        <translation>Active time</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>進捗 %</source>
        <translation>Progress %</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>誤読</source>
        <translation>Misreads</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>状態</source>
        <translation>State</translation>
    </message>
    <message>
        <location line="-76"/>
        <location line="+46"/>
        <source>%1 (暫定)</source>
        <extracomment>A rate with less play behind it than its window (10 minutes, an hour)</extracomment>
        <translation>~%1</translation>
    </message>
    <message>
        <location line="-42"/>
        <source>レベルと経験値</source>
        <translation>level and experience</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>レベル</source>
        <translation>level</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>経験値</source>
        <translation>experience</translation>
    </message>
    <message>
        <location line="+19"/>
        <source>読取失敗 (%1から, %2)</source>
        <extracomment>Readings have failed since hh:mm, in the named areas</extracomment>
        <translation>Readings fail (since %1, %2)</translation>
    </message>
</context>
<context>
    <name>LogFile</name>
    <message>
        <location filename="../src/accounting/log_file.cpp" line="+15"/>
        <source>ログファイルに書き込めません。<byte value="xd"/>
%1</source>
        <translation>The log file cannot be written.<byte value="xd"/>
%1</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>ログファイル書込みエラー</source>
        <translation>Log file write error</translation>
    </message>
</context>
<context>
    <name>MainTexts</name>
    <message>
        <location filename="../src/main_window/main_texts.cpp" line="+9"/>
        <source>既にプログラムは起動しています。</source>
        <translation>Tallymeter is already running.</translation>
    </message>
    <message>
        <location line="+1"/>
        <location line="+10"/>
        <source>エラー</source>
        <translation>Error</translation>
    </message>
    <message>
        <location line="-7"/>
        <source>ファイルを保存できませんでした。<byte value="xd"/>
%1</source>
        <translation>The file could not be saved.<byte value="xd"/>
%1</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>ファイル書込みエラー</source>
        <translation>File write error</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>前面のウィンドウをキャプチャできませんでした。</source>
        <translation>The window in front could not be captured.</translation>
    </message>
    <message>
        <location line="+34"/>
        <source>%1秒</source>
        <extracomment>Seconds one recognition took</extracomment>
        <translation>%1 s</translation>
    </message>
</context>
<context>
    <name>MonitoringTexts</name>
    <message>
        <location filename="../src/monitoring/monitoring_safeguards.cpp" line="+33"/>
        <location filename="../src/monitoring/monitoring_texts.cpp" line="+66"/>
        <source>計測の再開</source>
        <translation>Continue measurement</translation>
    </message>
    <message>
        <location line="+100"/>
        <source>前回の計測の記録が読めないため、使わずに退避しました。<byte value="xd"/>
%1</source>
        <translation>The record of the last measurement cannot be read; it was set aside unused.<byte value="xd"/>
%1</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>前回の計測が終わらないまま終了しています（最終読取 %1）。<byte value="xd"/>
同じログファイルに続けて計測しますか？</source>
        <translation>The last measurement did not end properly (last reading %1).<byte value="xd"/>
Continue it in the same log file?</translation>
    </message>
    <message>
        <location filename="../src/monitoring/monitoring_sight.cpp" line="+15"/>
        <source>キャプチャ</source>
        <translation>Capture</translation>
    </message>
    <message>
        <location filename="../src/monitoring/monitoring_texts.cpp" line="-53"/>
        <source>  ※ファイル未書込み</source>
        <translation>  * not in the file</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>（Tallymeterのウィンドウが読取範囲に重なっています）</source>
        <translation> (a Tallymeter window covers a capture area)</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>レベル: %1</source>
        <extracomment>Why the level area was not read: the reason follows</extracomment>
        <translation>Level: %1</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>経験値: %1</source>
        <extracomment>Why the experience area was not read: the reason follows</extracomment>
        <translation>EXP: %1</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>（最後の失敗 %1）</source>
        <extracomment>After the alert of failing readings: what the last one found</extracomment>
        <translation> (last failure: %1)</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>%1  警告  %2</source>
        <extracomment>A line of the on-screen log: date, the word, the alert</extracomment>
        <translation>%1  Alert  %2</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>%1  お知らせ  %2</source>
        <extracomment>A line of the on-screen log: date, the word, the news (a level-up, a goal reached)</extracomment>
        <translation>%1  News  %2</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>%1が起動していません</source>
        <translation>%1 is not running</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>エラー</source>
        <translation>Error</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>%1が見つからないため %2 に監視を停止しました</source>
        <translation>%1 not found: stopped at %2</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>キャプチャ: 待つ間にゲームが前面に来なかったため、取り込みませんでした</source>
        <translation>Capture: the game did not come to the front in time; nothing was captured</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>キャプチャ: %1が見つからないため、取り込みませんでした</source>
        <translation>Capture: %1 not found; nothing was captured</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>続ける計測のログファイルが見つからないため、新しいログファイルに書き始めます。<byte value="xd"/>
%1</source>
        <translation>The log file of the measurement to continue is gone; a new log file is begun.<byte value="xd"/>
%1</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>計測の記録を保存できません。このまま異常終了すると、この計測は再開できません。<byte value="xd"/>
%1</source>
        <translation>The measurement record cannot be saved. If Tallymeter crashes now, this measurement cannot be continued.<byte value="xd"/>
%1</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>計測の記録</source>
        <translation>Measurement record</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>レベル%1で初めて見た数字「%2」を登録しました（レベルアップ時に自動登録）</source>
        <extracomment>On the screen only: the level area taught itself digits it had not seen</extracomment>
        <translation>Learned the digits “%2” first seen at level %1 (learned at a level-up)</translation>
    </message>
</context>
<context>
    <name>NumericSettings</name>
    <message>
        <location filename="../src/dialogs/options_rules.cpp" line="+16"/>
        <source>キャプチャー始点X値を入力してください</source>
        <translation>Enter the capture start X</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>キャプチャー始点Y値を入力してください</source>
        <translation>Enter the capture start Y</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>キャプチャーサイズX値を入力してください</source>
        <translation>Enter the capture width</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>キャプチャーサイズY値を入力してください</source>
        <translation>Enter the capture height</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>キャプチャー周期を入力してください</source>
        <translation>Enter the capture interval (minutes)</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>ラグ回避時間を入力してください</source>
        <translation>Enter the lag time (milliseconds)</translation>
    </message>
</context>
<context>
    <name>PatternStore</name>
    <message>
        <location filename="../src/persistence/pattern_store.cpp" line="+311"/>
        <source>パターンファイルが読み込めません。<byte value="xd"/>
デフォルトパターンで初期化します。<byte value="xd"/>
</source>
        <translation>The pattern files cannot be read.<byte value="xd"/>
The default patterns are used instead.<byte value="xd"/>
</translation>
    </message>
    <message>
        <location line="+1"/>
        <location line="+12"/>
        <source>パターン読込みエラー</source>
        <translation>Pattern read error</translation>
    </message>
    <message>
        <location line="-9"/>
        <source>デフォルトパターンファイルが読み込めません。<byte value="xd"/>
終了します。<byte value="xd"/>
</source>
        <translation>The default pattern files cannot be read.<byte value="xd"/>
Tallymeter will end.<byte value="xd"/>
</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>パターン初期化エラー</source>
        <translation>Pattern set-up error</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>パターンファイルを保存できませんでした。</source>
        <translation>The pattern files could not be saved.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>パターン書込みエラー</source>
        <translation>Pattern write error</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>パターンファイルのデータ化に失敗しました。<byte value="xd"/>
終了します。<byte value="xd"/>
</source>
        <translation>The pattern files could not be turned into patterns.<byte value="xd"/>
Tallymeter will end.<byte value="xd"/>
</translation>
    </message>
</context>
<context>
    <name>RateChart</name>
    <message>
        <location filename="../src/main_window/rate_chart.cpp" line="+49"/>
        <source>獲得Exp (最大 %1)</source>
        <translation>EXP gained (max %1)</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>時給(直近10分) (最大 %1 k/h)</source>
        <translation>k/h last 10 min (max %1 k/h)</translation>
    </message>
</context>
<context>
    <name>ReadingOptions</name>
    <message>
        <location filename="../src/dialogs/reading_options.cpp" line="+20"/>
        <source>ゲームの表示</source>
        <translation>What the game shows</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>経験値欄</source>
        <translation>EXP</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>経験値（数字）</source>
        <translation>Number</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>パーセント</source>
        <translation>Percent</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>小数</source>
        <translation>Decimals</translation>
    </message>
    <message>
        <location line="+6"/>
        <source> 桁</source>
        <translation> places</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>死亡で経験値が減る版（レベルの1割まで減っても記録する）</source>
        <translation>Deaths cost EXP (old versions: log drops up to 10% of a level)</translation>
    </message>
</context>
<context>
    <name>Recognition</name>
    <message>
        <location filename="../src/recognition/recognition_text.cpp" line="+42"/>
        <source>認識中…</source>
        <extracomment>Shown in place of the number while it is being read</extracomment>
        <translation>Reading…</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>認識NG</source>
        <extracomment>Shown in place of a number that could not be read</extracomment>
        <translation>Unread</translation>
    </message>
    <message>
        <location line="+21"/>
        <source>レベルの桁が多すぎます</source>
        <translation>The level has too many digits</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>数字が読めません</source>
        <translation>No digits can be read</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>読めた数字が0です</source>
        <translation>The number read is 0</translation>
    </message>
</context>
<context>
    <name>ScreenLog</name>
    <message>
        <location filename="../src/accounting/evaluation.cpp" line="+41"/>
        <source>両方NG</source>
        <translation>both NG</translation>
    </message>
    <message>
        <location line="+20"/>
        <source>  認識失敗  </source>
        <extracomment>A line of the on-screen log: the digits could not be read</extracomment>
        <translation>  Not read  </translation>
    </message>
    <message>
        <location line="+10"/>
        <source>  測定不可  Lv範囲外</source>
        <translation>  Not measured  level out of range</translation>
    </message>
    <message>
        <location line="+90"/>
        <source>  認識疑義  </source>
        <translation>  Doubtful reading  </translation>
    </message>
    <message>
        <location filename="../src/accounting/percent_reading.cpp" line="+47"/>
        <source>  測定不可  Lv%1の経験値が経験値表になく、%表示を換算できません</source>
        <translation>  Not measured  the experience table has no size for Lv%1, so the percentage cannot be converted</translation>
    </message>
</context>
<context>
    <name>SessionTexts</name>
    <message>
        <location filename="../src/accounting/session_model.cpp" line="+21"/>
        <source>%1分</source>
        <translation>%1 min</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1時間%2分</source>
        <translation>%1 h %2 min</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>あと %1</source>
        <translation>%1 left</translation>
    </message>
    <message>
        <location line="+197"/>
        <source>セッション %1 - %2  稼働 %3  獲得Exp %4 (%5〜%6の読取)  時給(全体) %7 k/h  レベル +%8</source>
        <translation>Session %1 - %2  active %3  EXP gained %4 (readings %5 to %6)  overall %7 k/h  levels +%8</translation>
    </message>
    <message>
        <location line="-193"/>
        <source>1分未満</source>
        <translation>under 1 min</translation>
    </message>
</context>
<context>
    <name>SetupGuide</name>
    <message>
        <location filename="../src/dialogs/setup_guide.cpp" line="+30"/>
        <source>はじめての設定</source>
        <translation>First-time setup</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>ゲームの Lv と経験値の数字を読めるように、3つの手順で設定します。ゲームを起動して、Lv と経験値が見える画面にしてから始めてください。</source>
        <translation>Three steps teach Tallymeter to read the level and EXP digits of the game. Start the game and show a screen with the level and EXP before you begin.</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>オプションを開く…</source>
        <translation>Open options…</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>1. 領域を選ぶ: オプションの「範囲を選択…」で、領域1は Lv の数字、領域2は経験値の数字をドラッグで囲みます（矢印キーで1ピクセルずつ動かせます）。選んだら「保 存」を押します。</source>
        <translation>1. Pick the areas: in the options, use “Pick area…” to drag a box around the level digits (area 1) and the EXP digits (area 2); the arrow keys move it by one pixel. Then press “Save”.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>キャプチャ</source>
        <translation>Capture</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>2. キャプチャ: 押すと10秒後に両方の領域を取り込みます。その間にゲームを前面にして、数字が見えるようにします。</source>
        <translation>2. Capture: both areas are captured 10 seconds after you press it. Meanwhile bring the game to the front with the digits in view.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>領域1（Lv）を登録…</source>
        <translation>Teach area 1 (Level)…</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>領域2（経験値）を登録…</source>
        <translation>Teach area 2 (EXP)…</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>3. 登録: 基準画像登録で「キャプチャから登録」を押し、キャプチャに見えている数字をそのまま入力します。まだ見ていない数字（赤枠）が残るうちは、数字が変わってから2と3を繰り返します。最後に「保 存」、そしてメニューの「開始」で記録が始まります。</source>
        <translation>3. Teach: in the pattern editor press “Teach from capture” and type the number you see in the capture. While digits not seen yet (red) remain, repeat 2 and 3 once the numbers have changed. Finally press “Save”; “Start” in the menu then begins logging.</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>ゲームなしで試すには、同梱の練習用ウィンドウ PracticeWindow.exe を使います。この案内は ツール → はじめての設定... でいつでも開けます。</source>
        <translation>To try it without the game, use the practice window PracticeWindow.exe that comes in the zip. This guide opens again at any time from Tools → First-time setup...</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>ゲームなしで試すには、練習用ウィンドウ（scripts/run --practice）を使います。この案内は ツール → はじめての設定... でいつでも開けます。</source>
        <translation>To try it without the game, use the practice window (scripts/run --practice). This guide opens again at any time from Tools → First-time setup...</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>閉じる</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>StateLine</name>
    <message>
        <location filename="../src/monitoring/monitoring_cycle.h" line="+60"/>
        <source>キャプチャ</source>
        <translation>Capture</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>プリントスクリーン</source>
        <translation>Screenshot</translation>
    </message>
    <message>
        <location filename="../src/monitoring/state_line.cpp" line="+37"/>
        <source>%1まで %2</source>
        <extracomment>Countdown of a command, e.g. &quot;キャプチャまで 00:09&quot;</extracomment>
        <translation>%1 in %2</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>停止中</source>
        <translation>Stopped</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>停止中  %1</source>
        <translation>Stopped  %1</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>ゲームが見つかりません</source>
        <translation>Game not found</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>%1 (待機 %2)</source>
        <extracomment>What keeps the game from being read, and how long it has been so</extracomment>
        <translation>%1 (waiting %2)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>ゲームが前面にありません</source>
        <translation>The game is not in front</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>監視中  次のキャプチャまで %1</source>
        <translation>Monitoring  next capture in %1</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>%1  認識NG（%2）</source>
        <extracomment>The watching line, then why the last reading failed</extracomment>
        <translation>%1  Unread (%2)</translation>
    </message>
    <message>
        <location line="-21"/>
        <source>ゲームの再起動を待っています (あと %1)</source>
        <extracomment>The game closed; the measurement goes on if it comes back within the time left</extracomment>
        <translation>Waiting for the game to restart (%1 left)</translation>
    </message>
</context>
<context>
    <name>TrayIcon</name>
    <message>
        <location filename="../src/main_window/tray_icon.cpp" line="+38"/>
        <source>停止中</source>
        <translation>stopped</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>監視中</source>
        <translation>monitoring</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>警告あり</source>
        <translation>alert</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Tallymeter %1 時給 %2 k/h</source>
        <translation>Tallymeter %1 %2 k/h</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>開始</source>
        <translation>Start</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>停止</source>
        <translation>Stop</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>ウィンドウの表示/非表示</source>
        <translation>Show/hide the window</translation>
    </message>
</context>
<context>
    <name>UnreadInk</name>
    <message>
        <location filename="../src/recognition/unread_ink.cpp" line="+16"/>
        <source>最初の数字の前</source>
        <translation>Before the first digit</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>数字の間</source>
        <translation>Between the digits</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>最後の数字の後</source>
        <translation>After the last digit</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>数字の後のデリミタが見えません（X:%1まで）。数字がキャプチャ領域の端で切れているかもしれません</source>
        <extracomment>The number&apos;s end mark was not found: the number may be cut by the area&apos;s edge</extracomment>
        <translation>No end mark after the number (up to X:%1). The number may be cut off by the edge of the capture area</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>%1に読めない文字（X:%2～%3）。未登録の数字かもしれません</source>
        <extracomment>Where the unread marks are, and their columns in the capture</extracomment>
        <translation>%1: marks that cannot be read (X:%2 to %3). Perhaps a digit not registered yet</translation>
    </message>
</context>
</TS>
