<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="ja_JP">
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
        <location filename="../src/dialogs/area_picker.cpp" line="+132"/>
        <source>数字の左上から、数字とその後の記号が入るようにドラッグしてください。ホイールで拡大、矢印キーで1ピクセル移動（Shift＋矢印でサイズ）。</source>
        <translation>Drag from the top left of the digits so that the digits and the mark after them are inside. Wheel: zoom. Arrow keys: move by one pixel (Shift+arrow: size).</translation>
    </message>
    <message>
        <location line="+25"/>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <location line="+19"/>
        <source>キャプチャ領域%1を選択</source>
        <translation>Pick capture area %1</translation>
    </message>
    <message>
        <location line="+42"/>
        <source>%1倍</source>
        <extracomment>The zoom factor, such as 4x.</extracomment>
        <translation>%1x</translation>
    </message>
</context>
<context>
    <name>CaptureTeacher</name>
    <message>
        <location filename="../src/dialogs/capture_teacher.cpp" line="+138"/>
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
        <location line="+15"/>
        <source>境界(左から、0から):</source>
        <translation>Edge (from the left, first is 0):</translation>
    </message>
    <message>
        <location line="+4"/>
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
        <location line="+34"/>
        <source>キャプチャ領域%1の今のキャプチャ（%2×%3）</source>
        <translation>Current capture of area %1 (%2×%3)</translation>
    </message>
    <message>
        <location line="+47"/>
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
    <name>Form3</name>
    <message>
        <location filename="../src/dialogs/form3.cpp" line="+47"/>
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
        <location line="+49"/>
        <source>基準パターンを登録してください。</source>
        <translation>Register all the reference patterns first.</translation>
    </message>
    <message>
        <location line="+0"/>
        <location filename="../src/dialogs/form3_teach.cpp" line="+61"/>
        <source>パターン保存</source>
        <translation>Save patterns</translation>
    </message>
    <message>
        <location line="+27"/>
        <source>パターンファイルをデフォルトの状態に初期化します。よろしいですか？</source>
        <translation>The pattern files will be set back to the defaults. Are you sure?</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>パターンファイル初期化</source>
        <translation>Reset pattern files</translation>
    </message>
    <message>
        <location filename="../src/dialogs/form3.h" line="+42"/>
        <source>デリミタ</source>
        <translation>Delimiter</translation>
    </message>
    <message>
        <location filename="../src/dialogs/form3_teach.cpp" line="-28"/>
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
        <location line="+6"/>
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
    <name>HistoryWindow</name>
    <message>
        <location filename="../src/dialogs/history_window.cpp" line="+68"/>
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
        <location line="+12"/>
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
        <location line="+19"/>
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
        <location line="+16"/>
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
        <location line="+21"/>
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
        <location line="+38"/>
        <source>%1件 / 全%2件</source>
        <translation>%1 of %2</translation>
    </message>
    <message>
        <location line="+26"/>
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
        <location line="+7"/>
        <source>ゲームなしで試すには、練習用ウィンドウ（Windows 版は同梱の PracticeWindow.exe、Linux では scripts/run --practice）を使います。この案内は ツール → はじめての設定... でいつでも開けます。</source>
        <translation>To try it without the game, use the practice window (PracticeWindow.exe in the Windows zip, scripts/run --practice on Linux). This guide opens again at any time from Tools → First-time setup...</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>閉じる</source>
        <translation>Close</translation>
    </message>
</context>
</TS>
