<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="ja_JP">
<context>
    <name>tonvika::ExtractionTexts</name>
    <message>
        <source>抽出を取り消しました</source>
        <translation>Extraction cancelled</translation>
    </message>
    <message>
        <source>抽出できませんでした: %1</source>
        <extracomment>%1 is the file that failed (the source or the file to write)</extracomment>
        <translation>Could not extract: %1</translation>
    </message>
    <message>
        <source>抽出しました: %1</source>
        <translation>Extracted: %1</translation>
    </message>
    <message numerus="yes">
        <source>%n個のファイルを抽出しました: %1</source>
        <extracomment>%1 is the folder the files were written into</extracomment>
        <translation>
            <numerusform>Extracted %n file into %1</numerusform>
            <numerusform>Extracted %n files into %1</numerusform>
        </translation>
    </message>
    <message>
        <source>%1: 書き出せませんでした</source>
        <translation>%1: not written</translation>
    </message>
    <message>
        <source>%1: %3の位置で%2セクタが読めません。出力には欠落があります</source>
        <translation>%1: %2 sectors unreadable at %3; the output has a gap there</translation>
    </message>
    <message>
        <source>%1: スクランブルされているか読めないパケット%2個を除きました。出力には欠落があります</source>
        <translation>%1: %2 packets are scrambled or unreadable and left out; the output has gaps there</translation>
    </message>
    <message>
        <source>%1: %2でPTSが飛んでいます (%3秒)。再生するとここで音声がずれます</source>
        <extracomment>%3 is the jump in seconds, signed</extracomment>
        <translation>%1: a gap in the PTS at %2 (%3 s); a player of this file loses sync there</translation>
    </message>
    <message>
        <source>%1: ほかに%2か所でPTSが飛んでいます</source>
        <translation>%1: %2 more gaps in the PTS</translation>
    </message>
    <message>
        <source>%1: %3の位置から終わりまで%2セクタが読めません。出力はそこで終わります</source>
        <extracomment>%2 sectors, %3 the time into the file</extracomment>
        <translation>%1: %2 sectors unreadable at %3, to the end of the title; the output ends there</translation>
    </message>
</context>
<context>
    <name>tonvika::StreamsDialog</name>
    <message>
        <source>ストリーム一覧</source>
        <translation>Streams</translation>
    </message>
    <message>
        <source>IFOファイルはありません</source>
        <translation>No IFO file</translation>
    </message>
    <message>
        <source>IFOファイル: %1</source>
        <translation>IFO file: %1</translation>
    </message>
    <message>
        <source>番号</source>
        <translation>No.</translation>
    </message>
    <message>
        <source>IFOの宣言</source>
        <translation>Declared in the IFO</translation>
    </message>
    <message>
        <source>サブストリーム</source>
        <translation>Sub-stream</translation>
    </message>
    <message>
        <source>見つかったトラック</source>
        <translation>Track found</translation>
    </message>
    <message>
        <source>注記</source>
        <translation>Notes</translation>
    </message>
    <message>
        <source>閉じる</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>(宣言なし)</source>
        <translation>(not declared)</translation>
    </message>
    <message>
        <source>なし</source>
        <translation>none</translation>
    </message>
    <message>
        <source>注記はありません</source>
        <translation>No notes</translation>
    </message>
    <message>
        <source>ストリームの注記: %1件</source>
        <translation>Stream notes: %1</translation>
    </message>
    <message>
        <source>音声ストリーム</source>
        <translation>Audio streams</translation>
    </message>
    <message>
        <source>ID</source>
        <translation>ID</translation>
    </message>
    <message>
        <source>種類</source>
        <translation>Kind</translation>
    </message>
    <message>
        <source>概要</source>
        <translation>Summary</translation>
    </message>
    <message>
        <source>言語</source>
        <translation>Language</translation>
    </message>
    <message>
        <source>パケット</source>
        <translation>Packets</translation>
    </message>
    <message>
        <source>遅延</source>
        <translation>Delay</translation>
    </message>
    <message>
        <source>スロット</source>
        <translation>Slot</translation>
    </message>
    <message>
        <source>一覧になし</source>
        <translation>not listed</translation>
    </message>
    <message>
        <source>フレーム</source>
        <translation>Frames</translation>
    </message>
    <message>
        <source>長さ</source>
        <translation>Length</translation>
    </message>
    <message>
        <source>CRCエラー</source>
        <translation>CRC errors</translation>
    </message>
    <message>
        <source>再同期</source>
        <translation>Resyncs</translation>
    </message>
    <message>
        <source>変化</source>
        <translation>Changes</translation>
    </message>
    <message numerus="yes">
        <source>%n回</source>
        <translation>
            <numerusform>%n time</numerusform>
            <numerusform>%n times</numerusform>
        </translation>
    </message>
    <message>
        <source>抽出…</source>
        <translation>Extract…</translation>
    </message>
</context>
<context>
    <name>tonvika::TAboutBox</name>
    <message>
        <source>バージョン情報</source>
        <translation>About Tonvika</translation>
    </message>
    <message>
        <source>DVDの音声トラックとそのフレームヘッダを表示します</source>
        <translation>Shows the audio tracks of DVD video files and their frame headers</translation>
    </message>
    <message>
        <source>ライセンス: %1</source>
        <translation>License: %1</translation>
    </message>
</context>
<context>
    <name>tonvika::TForm1</name>
    <message>
        <source>リストが空欄です</source>
        <translation>The track list is empty</translation>
    </message>
    <message>
        <source>AC-3の解析結果がありません</source>
        <translation>No AC-3/DTS analysis results</translation>
    </message>
    <message>
        <source>参照</source>
        <translation>Browse...</translation>
    </message>
    <message>
        <source>言語表示</source>
        <translation>Names</translation>
    </message>
    <message>
        <source>日本語</source>
        <translation>Jpn.</translation>
    </message>
    <message>
        <source>英語</source>
        <translation>Eng.</translation>
    </message>
    <message>
        <source>ファイル読み込み</source>
        <translation>Read size</translation>
    </message>
    <message>
        <source>VOB以外も許可する</source>
        <translation>Allow non-VOB files</translation>
    </message>
    <message>
        <source>解析</source>
        <translation>Analyse</translation>
    </message>
    <message>
        <source>種類</source>
        <translation>Type</translation>
    </message>
    <message>
        <source>AC-3/DTS詳細情報</source>
        <translation>AC-3/DTS details</translation>
    </message>
    <message>
        <source>クリップボード出力</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>リスト情報</source>
        <translation>Track list</translation>
    </message>
    <message>
        <source>ヘルプ</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>バージョン情報</source>
        <translation>About</translation>
    </message>
    <message>
        <source>code.csvが見つかりません
言語識別は略号になります</source>
        <translation>code.csv was not found
Languages are shown as codes</translation>
    </message>
    <message>
        <source>AC3/DTSトラックはありません</source>
        <translation>No AC-3/DTS tracks</translation>
    </message>
    <message>
        <source>Tonvika プロジェクト</source>
        <translation>The Tonvika project</translation>
    </message>
    <message>
        <source>VOBファイル(*.vob)</source>
        <translation>VOB files (*.vob)</translation>
    </message>
    <message>
        <source>ac3,dtsファイル(*.ac3 *.dts)</source>
        <translation>AC-3/DTS files (*.ac3 *.dts)</translation>
    </message>
    <message>
        <source>処理中</source>
        <translation>Busy</translation>
    </message>
    <message>
        <source>終わり</source>
        <translation>Done</translation>
    </message>
    <message>
        <source>ファイル %1 は開けません</source>
        <translation>Cannot open the file %1</translation>
    </message>
    <message>
        <source>タイトルセット</source>
        <translation>Title sets</translation>
    </message>
    <message>
        <source>情報</source>
        <translation>Info</translation>
    </message>
    <message>
        <source>ストリーム一覧…</source>
        <translation>Streams…</translation>
    </message>
    <message>
        <source>%1 ★メイン</source>
        <extracomment>An entry of the menu タイトルセット; %1 is &quot;VTS_02 (1:23:45)&quot; or &quot;VTS_01 タイトル 2 (0:01:00)&quot;.</extracomment>
        <translation>%1 ★main</translation>
    </message>
    <message>
        <source>DVDイメージ(*.iso *.img)</source>
        <translation>DVD images (*.iso *.img)</translation>
    </message>
    <message>
        <source>%1 タイトル %2</source>
        <extracomment>A title entry of the menu タイトルセット; %1 is its title set (&quot;VTS_01&quot;), %2 the title&apos;s number.</extracomment>
        <translation>%1 title %2</translation>
    </message>
    <message>
        <source>%1 には言語名の行がありません
言語識別は略号になります</source>
        <extracomment>The notes marker&apos;s tooltip when code.csv is read but names no language; %1 is its path.</extracomment>
        <translation>%1 names no language (no line of a code and its name)
Languages are shown as codes</translation>
    </message>
    <message>
        <source>%1 ⚠ 読めません</source>
        <extracomment>An entry of the menu タイトルセット whose title set cannot be read; %1 is &quot;VTS_02&quot; or &quot;VTS_01 タイトル 2 (0:01:00)&quot;.</extracomment>
        <translation>%1 ⚠ unreadable</translation>
    </message>
    <message>
        <source>抽出</source>
        <translation>Extract</translation>
    </message>
    <message>
        <source>すべて抽出…</source>
        <translation>Extract all…</translation>
    </message>
    <message>
        <source>抽出…</source>
        <translation>Extract…</translation>
    </message>
    <message>
        <source>ストリームの保存先</source>
        <translation>Save stream as</translation>
    </message>
    <message>
        <source>抽出先のフォルダ</source>
        <translation>Folder to extract into</translation>
    </message>
    <message>
        <source>抽出しています: %1</source>
        <translation>Extracting: %1</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
</context>
</TS>
