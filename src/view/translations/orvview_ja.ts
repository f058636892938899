<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
<context>
    <name>orv::view::EntryModel</name>
    <message>
        <location filename="../entry_model.cpp" line="35"/>
        <source>picture</source>
        <translation>画像</translation>
    </message>
    <message>
        <location filename="../entry_model.cpp" line="36"/>
        <source>animation</source>
        <translation>アニメーション</translation>
    </message>
    <message>
        <location filename="../entry_model.cpp" line="37"/>
        <source>sound</source>
        <translation>音声</translation>
    </message>
    <message>
        <location filename="../entry_model.cpp" line="40"/>
        <source>other</source>
        <translation>その他</translation>
    </message>
    <message>
        <location filename="../entry_model.cpp" line="56"/>
        <source>1 frame</source>
        <translation>1 フレーム</translation>
    </message>
    <message>
        <location filename="../entry_model.cpp" line="56"/>
        <source>%1 frames</source>
        <translation>%1 フレーム</translation>
    </message>
    <message>
        <location filename="../entry_model.cpp" line="62"/>
        <source>%1 Hz, %2, %3 s</source>
        <translation>%1 Hz・%2・%3 秒</translation>
    </message>
    <message>
        <location filename="../entry_model.cpp" line="64"/>
        <source>mono</source>
        <translation>モノラル</translation>
    </message>
    <message>
        <location filename="../entry_model.cpp" line="64"/>
        <source>stereo</source>
        <translation>ステレオ</translation>
    </message>
    <message>
        <location filename="../entry_model.cpp" line="67"/>
        <source>unknown format %1</source>
        <translation>不明な形式 %1</translation>
    </message>
    <message>
        <location filename="../entry_model.cpp" line="73"/>
        <source>unreadable</source>
        <translation>読めません</translation>
    </message>
    <message>
        <location filename="../entry_model.cpp" line="111"/>
        <source>Name</source>
        <translation>名前</translation>
    </message>
    <message>
        <location filename="../entry_model.cpp" line="112"/>
        <source>Kind</source>
        <translation>種類</translation>
    </message>
    <message>
        <location filename="../entry_model.cpp" line="113"/>
        <source>Size</source>
        <translation>サイズ</translation>
    </message>
    <message>
        <location filename="../entry_model.cpp" line="114"/>
        <source>Details</source>
        <translation>詳細</translation>
    </message>
</context>
<context>
    <name>orv::view::ViewerWindow</name>
    <message>
        <location filename="../viewer_window.cpp" line="57"/>
        <source>orvview</source>
        <translation>orvview</translation>
    </message>
    <message>
        <location filename="../viewer_window.cpp" line="72"/>
        <source>Main</source>
        <translation>メイン</translation>
    </message>
    <message>
        <location filename="../viewer_window.cpp" line="75"/>
        <source>Open…</source>
        <translation>開く…</translation>
    </message>
    <message>
        <location filename="../viewer_window.cpp" line="76"/>
        <source>Settings…</source>
        <translation>設定ファイル…</translation>
    </message>
    <message>
        <location filename="../viewer_window.cpp" line="77"/>
        <location filename="../viewer_window.cpp" line="288"/>
        <source>no settings</source>
        <translation>設定ファイルなし</translation>
    </message>
    <message>
        <location filename="../viewer_window.cpp" line="80"/>
        <source>Copy</source>
        <translation>コピー</translation>
    </message>
    <message>
        <location filename="../viewer_window.cpp" line="82"/>
        <source>Save picture…</source>
        <translation>画像を保存…</translation>
    </message>
    <message>
        <location filename="../viewer_window.cpp" line="85"/>
        <source>Fit</source>
        <translation>全体表示</translation>
    </message>
    <message>
        <location filename="../viewer_window.cpp" line="90"/>
        <source>100 %</source>
        <translation>100 %</translation>
    </message>
    <message>
        <location filename="../viewer_window.cpp" line="95"/>
        <source>Zoom in</source>
        <translation>拡大</translation>
    </message>
    <message>
        <location filename="../viewer_window.cpp" line="100"/>
        <source>Zoom out</source>
        <translation>縮小</translation>
    </message>
    <message>
        <location filename="../viewer_window.cpp" line="109"/>
        <source>&amp;File</source>
        <translation>ファイル(&amp;F)</translation>
    </message>
    <message>
        <location filename="../viewer_window.cpp" line="110"/>
        <source>&amp;Open…</source>
        <translation>開く(&amp;O)…</translation>
    </message>
    <message>
        <location filename="../viewer_window.cpp" line="111"/>
        <source>Open &amp;Recent</source>
        <translation>最近使ったファイル(&amp;R)</translation>
    </message>
    <message>
        <location filename="../viewer_window.cpp" line="123"/>
        <source>&amp;Quit</source>
        <translation>終了(&amp;Q)</translation>
    </message>
    <message>
        <location filename="../viewer_window.cpp" line="137"/>
        <source>Filter by name</source>
        <translation>名前で絞り込み</translation>
    </message>
    <message>
        <location filename="../viewer_window.cpp" line="169"/>
        <source>Open an archive (.dat) or an animation file (.ani).</source>
        <translation>アーカイブ (.dat) かアニメーションファイル (.ani) を開いてください。</translation>
    </message>
    <message>
        <location filename="../viewer_window.cpp" line="194"/>
        <source>Hex</source>
        <translation>16進</translation>
    </message>
    <message>
        <location filename="../viewer_window.cpp" line="223"/>
        <source>◀</source>
        <translation>◀</translation>
    </message>
    <message>
        <location filename="../viewer_window.cpp" line="224"/>
        <source>Previous frame</source>
        <translation>前のフレーム</translation>
    </message>
    <message>
        <location filename="../viewer_window.cpp" line="229"/>
        <location filename="../viewer_window.cpp" line="414"/>
        <source>Play</source>
        <translation>再生</translation>
    </message>
    <message>
        <location filename="../viewer_window.cpp" line="233"/>
        <source>▶</source>
        <translation>▶</translation>
    </message>
    <message>
        <location filename="../viewer_window.cpp" line="234"/>
        <source>Next frame</source>
        <translation>次のフレーム</translation>
    </message>
    <message>
        <location filename="../viewer_window.cpp" line="242"/>
        <source> ms a frame</source>
        <translation> ミリ秒/フレーム</translation>
    </message>
    <message>
        <location filename="../viewer_window.cpp" line="260"/>
        <source>%1 cannot be opened: %2</source>
        <translation>%1 を開けません: %2</translation>
    </message>
    <message>
        <location filename="../viewer_window.cpp" line="261"/>
        <source>%1 is not an archive (.dat starting with &quot;pack&quot;) or an animation file (.ani).</source>
        <translation>%1 はアーカイブ (&quot;pack&quot; で始まる .dat) でもアニメーションファイル (.ani) でもありません。</translation>
    </message>
    <message>
        <location filename="../viewer_window.cpp" line="265"/>
        <source>%1 – orvview</source>
        <translation>%1 – orvview</translation>
    </message>
    <message>
        <location filename="../viewer_window.cpp" line="269"/>
        <source>The archive holds no entries.</source>
        <translation>このアーカイブにはエントリがありません。</translation>
    </message>
    <message>
        <location filename="../viewer_window.cpp" line="272"/>
        <source>1 entry</source>
        <translation>1 エントリ</translation>
    </message>
    <message>
        <location filename="../viewer_window.cpp" line="272"/>
        <source>%1 entries</source>
        <translation>%1 エントリ</translation>
    </message>
    <message>
        <location filename="../viewer_window.cpp" line="320"/>
        <source>%1 cannot be written.</source>
        <translation>%1 に書き込めません。</translation>
    </message>
    <message>
        <location filename="../viewer_window.cpp" line="365"/>
        <source>%1 Hz, %2, %3 s of 16-bit sound.</source>
        <translation>16 ビット音声・%1 Hz・%2・%3 秒</translation>
    </message>
    <message>
        <location filename="../viewer_window.cpp" line="367"/>
        <source>mono</source>
        <translation>モノラル</translation>
    </message>
    <message>
        <location filename="../viewer_window.cpp" line="367"/>
        <source>stereo</source>
        <translation>ステレオ</translation>
    </message>
    <message>
        <location filename="../viewer_window.cpp" line="373"/>
        <source>Conversion writes nothing for this entry.</source>
        <translation>このエントリは変換で何も出力されません。</translation>
    </message>
    <message>
        <location filename="../viewer_window.cpp" line="389"/>
        <source>no frames</source>
        <translation>フレームなし</translation>
    </message>
    <message>
        <location filename="../viewer_window.cpp" line="397"/>
        <source>%1 / %2 (frame %3, copied raw)</source>
        <translation>%1 / %2（フレーム %3・そのままコピー）</translation>
    </message>
    <message>
        <location filename="../viewer_window.cpp" line="398"/>
        <source>%1 / %2</source>
        <translation>%1 / %2</translation>
    </message>
    <message>
        <location filename="../viewer_window.cpp" line="414"/>
        <source>Pause</source>
        <translation>一時停止</translation>
    </message>
</context>
<context>
    <name>orv::view::HexDump</name>
    <message>
        <location filename="../entry_text.cpp" line="34"/>
        <source>… %1 more bytes</source>
        <translation>… ほか %1 バイト</translation>
    </message>
</context>
<context>
    <name>orv::view::QtViewerDialogs</name>
    <message>
        <location filename="../viewer_dialogs.cpp" line="22"/>
        <source>Open</source>
        <translation>開く</translation>
    </message>
    <message>
        <location filename="../viewer_dialogs.cpp" line="23"/>
        <source>ORVENDA 3.2 (*.dat *.DAT *.ani *.ANI);;All files (*)</source>
        <translation>ORVENDA 3.2 (*.dat *.DAT *.ani *.ANI);;すべてのファイル (*)</translation>
    </message>
    <message>
        <location filename="../viewer_dialogs.cpp" line="30"/>
        <source>Settings file</source>
        <translation>設定ファイル</translation>
    </message>
    <message>
        <location filename="../viewer_dialogs.cpp" line="31"/>
        <source>Settings files (*.ini *.INI);;All files (*)</source>
        <translation>設定ファイル (*.ini *.INI);;すべてのファイル (*)</translation>
    </message>
    <message>
        <location filename="../viewer_dialogs.cpp" line="37"/>
        <source>Save picture</source>
        <translation>画像を保存</translation>
    </message>
    <message>
        <location filename="../viewer_dialogs.cpp" line="38"/>
        <source>PNG pictures (*.png)</source>
        <translation>PNG 画像 (*.png)</translation>
    </message>
</context>
</TS>
