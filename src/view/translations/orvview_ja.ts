<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
<context>
    <name>orv::view::EntryModel</name>
    <message>
        <location filename="../entry_model.cpp" line="44"/>
        <source>picture</source>
        <translation>画像</translation>
    </message>
    <message>
        <location filename="../entry_model.cpp" line="45"/>
        <source>animation</source>
        <translation>アニメーション</translation>
    </message>
    <message>
        <location filename="../entry_model.cpp" line="46"/>
        <source>sound</source>
        <translation>音声</translation>
    </message>
    <message>
        <location filename="../entry_model.cpp" line="49"/>
        <source>other</source>
        <translation>その他</translation>
    </message>
    <message>
        <location filename="../entry_model.cpp" line="65"/>
        <source>1 frame</source>
        <translation>1 フレーム</translation>
    </message>
    <message>
        <location filename="../entry_model.cpp" line="65"/>
        <source>%1 frames</source>
        <translation>%1 フレーム</translation>
    </message>
    <message>
        <location filename="../entry_model.cpp" line="71"/>
        <source>%1 Hz, %2, %3 s</source>
        <translation>%1 Hz・%2・%3 秒</translation>
    </message>
    <message>
        <location filename="../entry_model.cpp" line="73"/>
        <source>mono</source>
        <translation>モノラル</translation>
    </message>
    <message>
        <location filename="../entry_model.cpp" line="73"/>
        <source>stereo</source>
        <translation>ステレオ</translation>
    </message>
    <message>
        <location filename="../entry_model.cpp" line="76"/>
        <source>unknown format %1</source>
        <translation>不明な形式 %1</translation>
    </message>
    <message>
        <location filename="../entry_model.cpp" line="82"/>
        <source>unreadable</source>
        <translation>読めません</translation>
    </message>
    <message>
        <location filename="../entry_model.cpp" line="113"/>
        <source>The file ends before this entry does: its missing bytes read as zeros, as conversion reads them.</source>
        <translation>ファイルがこのエントリの途中で終わっています。足りないバイトは変換と同じく 0 として読まれます。</translation>
    </message>
    <message>
        <location filename="../entry_model.cpp" line="132"/>
        <source>Name</source>
        <translation>名前</translation>
    </message>
    <message>
        <location filename="../entry_model.cpp" line="133"/>
        <source>Kind</source>
        <translation>種類</translation>
    </message>
    <message>
        <location filename="../entry_model.cpp" line="134"/>
        <source>Size</source>
        <translation>サイズ</translation>
    </message>
    <message>
        <location filename="../entry_model.cpp" line="135"/>
        <source>Details</source>
        <translation>詳細</translation>
    </message>
</context>
<context>
    <name>orv::view::ExtractDialog</name>
    <message>
        <location filename="../extract_dialog.cpp" line="48"/>
        <source>Browse…</source>
        <translation>参照…</translation>
    </message>
    <message>
        <location filename="../extract_dialog.cpp" line="50"/>
        <source>Folder</source>
        <translation>フォルダー</translation>
    </message>
    <message>
        <location filename="../extract_dialog.cpp" line="55"/>
        <source>Into folder:</source>
        <translation>出力先フォルダー:</translation>
    </message>
    <message>
        <location filename="../extract_dialog.cpp" line="19"/>
        <source>BMP</source>
        <translation>BMP</translation>
    </message>
    <message>
        <location filename="../extract_dialog.cpp" line="20"/>
        <source>PNG</source>
        <translation>PNG</translation>
    </message>
    <message>
        <location filename="../extract_dialog.cpp" line="23"/>
        <source>PNG only for pictures with alpha, else BMP</source>
        <translation>アルファのある画像だけ PNG、ほかは BMP</translation>
    </message>
    <message>
        <location filename="../extract_dialog.cpp" line="66"/>
        <source>Pictures as:</source>
        <translation>画像の形式:</translation>
    </message>
    <message>
        <location filename="../extract_dialog.cpp" line="34"/>
        <source>numbered frames</source>
        <translation>番号付きのフレーム</translation>
    </message>
    <message>
        <location filename="../extract_dialog.cpp" line="30"/>
        <source>animated WebP</source>
        <translation>アニメーション WebP</translation>
    </message>
    <message>
        <location filename="../extract_dialog.cpp" line="31"/>
        <source>looping GIF</source>
        <translation>ループする GIF</translation>
    </message>
    <message>
        <location filename="../extract_dialog.cpp" line="32"/>
        <source>sprite sheet (PNG and JSON)</source>
        <translation>スプライトシート (PNG と JSON)</translation>
    </message>
    <message>
        <location filename="../extract_dialog.cpp" line="73"/>
        <source>Animations as:</source>
        <translation>アニメーションの形式:</translation>
    </message>
    <message>
        <location filename="../extract_dialog.cpp" line="75"/>
        <source>Keep animation entries of archives as raw .ani files</source>
        <translation>アーカイブのアニメーションエントリを .ani のまま書き出す</translation>
    </message>
    <message>
        <location filename="../extract_dialog.cpp" line="84"/>
        <source> ms a frame</source>
        <translation> ミリ秒/フレーム</translation>
    </message>
    <message>
        <location filename="../extract_dialog.cpp" line="85"/>
        <source>WebP and GIF speed:</source>
        <translation>WebP と GIF の速さ:</translation>
    </message>
    <message>
        <location filename="../extract_dialog.cpp" line="90"/>
        <source>as many as frames, at most 16</source>
        <translation>フレーム数 (最大 16)</translation>
    </message>
    <message>
        <location filename="../extract_dialog.cpp" line="92"/>
        <source>Sheet columns:</source>
        <translation>シートの列数:</translation>
    </message>
    <message>
        <location filename="../extract_dialog.cpp" line="113"/>
        <source>Writes into %1/</source>
        <translation>書き込み先: %1/</translation>
    </message>
</context>
<context>
    <name>orv::view::SoundPane</name>
    <message>
        <location filename="../sound_pane.cpp" line="39"/>
        <source>Stop</source>
        <translation>停止</translation>
    </message>
    <message>
        <location filename="../sound_pane.cpp" line="68"/>
        <source>%1 Hz, %2, %3 s of 16-bit sound.</source>
        <translation>%1 Hz・%2・%3 秒の 16 ビット音声</translation>
    </message>
    <message>
        <location filename="../sound_pane.cpp" line="70"/>
        <source>mono</source>
        <translation>モノラル</translation>
    </message>
    <message>
        <location filename="../sound_pane.cpp" line="70"/>
        <source>stereo</source>
        <translation>ステレオ</translation>
    </message>
    <message>
        <location filename="../sound_pane.cpp" line="96"/>
        <source>The sound holds no samples.</source>
        <translation>この音声にはサンプルがありません。</translation>
    </message>
    <message>
        <location filename="../sound_pane.cpp" line="108"/>
        <source>Pause</source>
        <translation>一時停止</translation>
    </message>
    <message>
        <location filename="../sound_pane.cpp" line="108"/>
        <source>Play</source>
        <translation>再生</translation>
    </message>
    <message>
        <location filename="../sound_pane.cpp" line="117"/>
        <source>%1 / %2</source>
        <translation>%1 / %2</translation>
    </message>
</context>
<context>
    <name>orv::view::SoundPlayer</name>
    <message>
        <location filename="../sound_player.cpp" line="28"/>
        <source>No audio output device is available, so sounds cannot be played here.</source>
        <translation>音声出力デバイスがないため、ここでは音声を再生できません。</translation>
    </message>
    <message>
        <location filename="../sound_player.cpp" line="114"/>
        <source>The audio output could not be opened.</source>
        <translation>音声出力を開けませんでした。</translation>
    </message>
</context>
<context>
    <name>orv::view::ViewerWindow</name>
    <message>
        <location filename="../viewer_window.cpp" line="69"/>
        <source>orvview</source>
        <translation>orvview</translation>
    </message>
    <message>
        <location filename="../viewer_window.cpp" line="96"/>
        <source>Main</source>
        <translation>メイン</translation>
    </message>
    <message>
        <location filename="../viewer_window.cpp" line="99"/>
        <source>Open…</source>
        <translation>開く…</translation>
    </message>
    <message>
        <location filename="../viewer_window.cpp" line="100"/>
        <source>Settings…</source>
        <translation>設定ファイル…</translation>
    </message>
    <message>
        <location filename="../viewer_window.cpp" line="101"/>
        <location filename="../viewer_window.cpp" line="459"/>
        <source>no settings</source>
        <translation>設定ファイルなし</translation>
    </message>
    <message>
        <location filename="../viewer_window.cpp" line="106"/>
        <source>Copy</source>
        <translation>コピー</translation>
    </message>
    <message>
        <location filename="../viewer_window.cpp" line="109"/>
        <source>Save picture…</source>
        <translation>画像を保存…</translation>
    </message>
    <message>
        <location filename="../viewer_window.cpp" line="113"/>
        <source>Extract…</source>
        <translation>取り出し…</translation>
    </message>
    <message>
        <location filename="../viewer_window.cpp" line="119"/>
        <source>Grid</source>
        <translation>グリッド</translation>
    </message>
    <message>
        <location filename="../viewer_window.cpp" line="122"/>
        <source>Show the entries as thumbnails (Ctrl+wheel sizes them)</source>
        <translation>エントリをサムネイルで表示 (Ctrl+ホイールで大きさを変更)</translation>
    </message>
    <message>
        <location filename="../viewer_window.cpp" line="128"/>
        <source>Thumbnail size</source>
        <translation>サムネイルの大きさ</translation>
    </message>
    <message>
        <location filename="../viewer_window.cpp" line="134"/>
        <source>Fit</source>
        <translation>全体表示</translation>
    </message>
    <message>
        <location filename="../viewer_window.cpp" line="136"/>
        <source>100 %</source>
        <translation>100 %</translation>
    </message>
    <message>
        <location filename="../viewer_window.cpp" line="138"/>
        <source>Zoom in</source>
        <translation>拡大</translation>
    </message>
    <message>
        <location filename="../viewer_window.cpp" line="140"/>
        <source>Zoom out</source>
        <translation>縮小</translation>
    </message>
    <message>
        <location filename="../viewer_window.cpp" line="148"/>
        <source>&amp;File</source>
        <translation>ファイル(&amp;F)</translation>
    </message>
    <message>
        <location filename="../viewer_window.cpp" line="149"/>
        <source>&amp;Open…</source>
        <translation>開く(&amp;O)…</translation>
    </message>
    <message>
        <location filename="../viewer_window.cpp" line="150"/>
        <source>Open &amp;Recent</source>
        <translation>最近使ったファイル(&amp;R)</translation>
    </message>
    <message>
        <location filename="../viewer_window.cpp" line="112"/>
        <source>&amp;Extract Selected…</source>
        <translation>選択したエントリを取り出す(&amp;E)…</translation>
    </message>
    <message>
        <location filename="../viewer_window.cpp" line="108"/>
        <source>Copy the picture shown (Ctrl+C)</source>
        <translation>表示中の画像をコピー (Ctrl+C)</translation>
    </message>
    <message>
        <location filename="../viewer_window.cpp" line="111"/>
        <source>Save the picture shown as a PNG file (Ctrl+S)</source>
        <translation>表示中の画像を PNG ファイルに保存 (Ctrl+S)</translation>
    </message>
    <message>
        <location filename="../viewer_window.cpp" line="115"/>
        <source>Extract the selected entries (Ctrl+E)</source>
        <translation>選択したエントリを取り出す (Ctrl+E)</translation>
    </message>
    <message>
        <location filename="../viewer_window.cpp" line="163"/>
        <source>Extract &amp;All…</source>
        <translation>すべて取り出す(&amp;A)…</translation>
    </message>
    <message>
        <location filename="../viewer_window.cpp" line="165"/>
        <source>Extract every entry (Ctrl+Shift+E)</source>
        <translation>すべてのエントリを取り出す (Ctrl+Shift+E)</translation>
    </message>
    <message>
        <location filename="../viewer_window.cpp" line="167"/>
        <source>Open .dat and .ani Files with orvview</source>
        <translation>.dat と .ani ファイルを orvview で開くようにする</translation>
    </message>
    <message>
        <location filename="../viewer_window.cpp" line="170"/>
        <source>The desktop now opens archives and animation files with orvview.</source>
        <translation>アーカイブとアニメーションファイルはこれから orvview で開きます。</translation>
    </message>
    <message>
        <location filename="../viewer_window.cpp" line="175"/>
        <source>&amp;Quit</source>
        <translation>終了(&amp;Q)</translation>
    </message>
    <message>
        <location filename="../viewer_window.cpp" line="189"/>
        <source>Filter by name</source>
        <translation>名前で絞り込み</translation>
    </message>
    <message>
        <location filename="../viewer_window.cpp" line="240"/>
        <source>Open an archive (.dat) or an animation file (.ani).</source>
        <translation>アーカイブ (.dat) かアニメーションファイル (.ani) を開いてください。</translation>
    </message>
    <message>
        <location filename="../viewer_window.cpp" line="296"/>
        <source>&amp;Hex</source>
        <translation>16進表示(&amp;H)</translation>
    </message>
    <message>
        <location filename="../viewer_window.cpp" line="297"/>
        <source>Hex</source>
        <translation>16進</translation>
    </message>
    <message>
        <location filename="../viewer_window.cpp" line="300"/>
        <source>Show the entry&apos;s bytes as a hex dump (H)</source>
        <translation>エントリのバイトを16進ダンプで表示 (H)</translation>
    </message>
    <message>
        <location filename="../viewer_window.cpp" line="324"/>
        <source>P&amp;revious Frame</source>
        <translation>前のフレーム(&amp;R)</translation>
    </message>
    <message>
        <location filename="../viewer_window.cpp" line="325"/>
        <source>◀</source>
        <translation>◀</translation>
    </message>
    <message>
        <location filename="../viewer_window.cpp" line="327"/>
        <source>Previous frame (,)</source>
        <translation>前のフレーム (,)</translation>
    </message>
    <message>
        <location filename="../viewer_window.cpp" line="340"/>
        <source>Next frame (.)</source>
        <translation>次のフレーム (.)</translation>
    </message>
    <message>
        <location filename="../viewer_window.cpp" line="335"/>
        <location filename="../viewer_window.cpp" line="602"/>
        <source>Play</source>
        <translation>再生</translation>
    </message>
    <message>
        <location filename="../viewer_window.cpp" line="104"/>
        <source>No Settings</source>
        <translation>設定ファイルなし</translation>
    </message>
    <message>
        <location filename="../viewer_window.cpp" line="105"/>
        <source>Compose animations without a settings file</source>
        <translation>設定ファイルを使わずにアニメーションを合成</translation>
    </message>
    <message>
        <location filename="../viewer_window.cpp" line="286"/>
        <source>The encoding the text is read in</source>
        <translation>テキストを読む文字コード</translation>
    </message>
    <message>
        <location filename="../viewer_window.cpp" line="337"/>
        <source>&amp;Next Frame</source>
        <translation>次のフレーム(&amp;N)</translation>
    </message>
    <message>
        <location filename="../viewer_window.cpp" line="338"/>
        <source>▶</source>
        <translation>▶</translation>
    </message>
    <message>
        <location filename="../viewer_window.cpp" line="351"/>
        <source> ms a frame</source>
        <translation> ミリ秒/フレーム</translation>
    </message>
    <message>
        <location filename="../viewer_window.cpp" line="370"/>
        <source>Reload</source>
        <translation>再読み込み</translation>
    </message>
    <message>
        <location filename="../viewer_window.cpp" line="380"/>
        <source>%1 has changed on disk. What is shown and taken out is the file as it was opened.</source>
        <translation>%1 はディスク上で変更されました。表示と取り出しは開いた時点のファイルのままです。</translation>
    </message>
    <message>
        <location filename="../viewer_window.cpp" line="393"/>
        <source>%1 cannot be opened: %2</source>
        <translation>%1 を開けません: %2</translation>
    </message>
    <message>
        <location filename="../viewer_window.cpp" line="395"/>
        <source>%1 is not an archive (.dat starting with &quot;pack&quot;) or an animation file (.ani).</source>
        <translation>%1 はアーカイブ (&quot;pack&quot; で始まる .dat) でもアニメーションファイル (.ani) でもありません。</translation>
    </message>
    <message>
        <location filename="../viewer_window.cpp" line="399"/>
        <source>%1 – orvview</source>
        <translation>%1 – orvview</translation>
    </message>
    <message>
        <location filename="../viewer_window.cpp" line="404"/>
        <source>%1.
Entries marked with a warning sign lie past its end.</source>
        <translation>%1。
警告の印が付いたエントリはファイルの終わりを越えています。</translation>
    </message>
    <message>
        <location filename="../viewer_window.cpp" line="410"/>
        <source>The archive holds no entries.</source>
        <translation>このアーカイブにはエントリがありません。</translation>
    </message>
    <message>
        <location filename="../viewer_window.cpp" line="441"/>
        <source>1 entry</source>
        <translation>1 エントリ</translation>
    </message>
    <message>
        <location filename="../viewer_window.cpp" line="441"/>
        <source>%1 entries</source>
        <translation>%1 エントリ</translation>
    </message>
    <message>
        <location filename="../viewer_window.cpp" line="443"/>
        <source>%1 of 1 entry</source>
        <translation>1 件中 %1 件</translation>
    </message>
    <message>
        <location filename="../viewer_window.cpp" line="444"/>
        <source>%1 of %2 entries</source>
        <translation>%2 件中 %1 件</translation>
    </message>
    <message>
        <location filename="../viewer_window.cpp" line="494"/>
        <source>%1 cannot be written.</source>
        <translation>%1 に書き込めません。</translation>
    </message>
    <message>
        <location filename="../viewer_window.cpp" line="560"/>
        <source>Conversion writes nothing for this entry.</source>
        <translation>このエントリは変換で何も出力されません。</translation>
    </message>
    <message>
        <location filename="../viewer_window.cpp" line="577"/>
        <source>no frames</source>
        <translation>フレームなし</translation>
    </message>
    <message>
        <location filename="../viewer_window.cpp" line="585"/>
        <source>%1 / %2 (frame %3, copied raw)</source>
        <translation>%1 / %2（フレーム %3・そのままコピー）</translation>
    </message>
    <message>
        <location filename="../viewer_window.cpp" line="586"/>
        <source>%1 / %2</source>
        <translation>%1 / %2</translation>
    </message>
    <message>
        <location filename="../viewer_window.cpp" line="602"/>
        <source>Pause</source>
        <translation>一時停止</translation>
    </message>
    <message>
        <location filename="../viewer_take_out.cpp" line="38"/>
        <source>No entry is selected: select the entries to extract, or extract all of them (Ctrl+Shift+E).</source>
        <translation>エントリが選択されていません。取り出すエントリを選択するか、すべて取り出してください (Ctrl+Shift+E)。</translation>
    </message>
    <message>
        <location filename="../viewer_take_out.cpp" line="45"/>
        <source>Extract 1 entry</source>
        <translation>1 エントリを取り出す</translation>
    </message>
    <message>
        <location filename="../viewer_take_out.cpp" line="45"/>
        <source>Extract %1 entries</source>
        <translation>%1 エントリを取り出す</translation>
    </message>
    <message>
        <location filename="../viewer_take_out.cpp" line="56"/>
        <source>Writing into %1…</source>
        <translation>%1 に書き出しています…</translation>
    </message>
    <message>
        <location filename="../viewer_take_out.cpp" line="56"/>
        <source>Cancel</source>
        <translation>キャンセル</translation>
    </message>
    <message>
        <location filename="../viewer_take_out.cpp" line="83"/>
        <source>Extraction stopped: %1
What was written before stays in %2.</source>
        <translation>取り出しを中断しました: %1
それまでに書き出したファイルは %2 に残っています。</translation>
    </message>
    <message>
        <location filename="../viewer_take_out.cpp" line="85"/>
        <source>Extraction cancelled; what was written stays in %1.</source>
        <translation>取り出しをキャンセルしました。書き出したファイルは %1 に残っています。</translation>
    </message>
    <message>
        <location filename="../viewer_take_out.cpp" line="87"/>
        <source>1 entry written into %1.</source>
        <translation>1 エントリを %1 に書き出しました。</translation>
    </message>
    <message>
        <location filename="../viewer_take_out.cpp" line="88"/>
        <source>%1 entries written into %2.</source>
        <translation>%1 エントリを %2 に書き出しました。</translation>
    </message>
    <message>
        <location filename="../viewer_take_out.cpp" line="94"/>
        <source>Some entries wrote the same file; the later one was kept:
%1</source>
        <translation>同じファイルを書き出すエントリがありました。後のエントリのファイルが残っています:
%1</translation>
    </message>
    <message>
        <location filename="../viewer_take_out.cpp" line="100"/>
        <source>Show the Files</source>
        <translation>ファイルを表示</translation>
    </message>
    <message>
        <location filename="../viewer_take_out.cpp" line="102"/>
        <source>Open the folder the entries were written into</source>
        <translation>エントリを書き込んだフォルダーを開く</translation>
    </message>
    <message>
        <location filename="../viewer_take_out.cpp" line="106"/>
        <source>No program to show %1 can be started.</source>
        <translation>%1 を表示するプログラムを起動できません。</translation>
    </message>
    <message>
        <location filename="../viewer_actions.cpp" line="34"/>
        <source>&amp;View</source>
        <translation>表示(&amp;V)</translation>
    </message>
    <message>
        <location filename="../viewer_actions.cpp" line="35"/>
        <source>&amp;Filter by Name</source>
        <translation>名前で絞り込み(&amp;F)</translation>
    </message>
    <message>
        <location filename="../viewer_actions.cpp" line="41"/>
        <source>&amp;Play / Pause</source>
        <translation>再生 / 一時停止(&amp;P)</translation>
    </message>
    <message>
        <location filename="../viewer_actions.cpp" line="43"/>
        <source>Play or pause the animation or sound shown (Space)</source>
        <translation>表示中のアニメーションや音声を再生・一時停止 (Space)</translation>
    </message>
    <message>
        <location filename="../viewer_actions.cpp" line="55"/>
        <source>F&amp;ull Screen</source>
        <translation>全画面表示(&amp;U)</translation>
    </message>
    <message>
        <location filename="../viewer_actions.cpp" line="73"/>
        <source>No archive or animation file is open.</source>
        <translation>アーカイブもアニメーションファイルも開いていません。</translation>
    </message>
    <message>
        <location filename="../viewer_actions.cpp" line="74"/>
        <location filename="../viewer_actions.cpp" line="75"/>
        <source>An extraction is under way.</source>
        <translation>取り出しの最中です。</translation>
    </message>
    <message>
        <location filename="../viewer_actions.cpp" line="77"/>
        <source>No settings file is in use.</source>
        <translation>設定ファイルは使っていません。</translation>
    </message>
    <message>
        <location filename="../viewer_actions.cpp" line="80"/>
        <source>No picture or animation frame is shown.</source>
        <translation>画像もアニメーションのフレームも表示されていません。</translation>
    </message>
    <message>
        <location filename="../viewer_actions.cpp" line="87"/>
        <source>The animation shows one frame.</source>
        <translation>このアニメーションのフレームは1枚です。</translation>
    </message>
    <message>
        <location filename="../viewer_actions.cpp" line="87"/>
        <source>No animation is shown.</source>
        <translation>アニメーションは表示されていません。</translation>
    </message>
    <message>
        <location filename="../viewer_actions.cpp" line="93"/>
        <source>No animation or sound is shown.</source>
        <translation>アニメーションも音声も表示されていません。</translation>
    </message>
    <message>
        <location filename="../viewer_actions.cpp" line="95"/>
        <source>Pictures, animations and sounds are shown as such, not as bytes.</source>
        <translation>画像・アニメーション・音声はバイトではなくそのまま表示します。</translation>
    </message>
</context>
<context>
    <name>orv::view::DefaultViewer</name>
    <message>
        <location filename="../default_viewer.cpp" line="25"/>
        <source>xdg-mime (from the package xdg-utils) cannot be run.</source>
        <translation>xdg-mime (xdg-utils パッケージ) を実行できません。</translation>
    </message>
    <message>
        <location filename="../default_viewer.cpp" line="28"/>
        <source>xdg-mime failed: %1</source>
        <translation>xdg-mime が失敗しました: %1</translation>
    </message>
</context>
<context>
    <name>orv::view::HexDump</name>
    <message>
        <location filename="../entry_text.cpp" line="67"/>
        <source>… %1 more bytes</source>
        <translation>… ほか %1 バイト</translation>
    </message>
</context>
<context>
    <name>orv::view::QtViewerDialogs</name>
    <message>
        <location filename="../viewer_dialogs.cpp" line="31"/>
        <source>Open</source>
        <translation>開く</translation>
    </message>
    <message>
        <location filename="../viewer_dialogs.cpp" line="32"/>
        <source>ORVENDA 3.2 (*.dat *.DAT *.ani *.ANI);;All files (*)</source>
        <translation>ORVENDA 3.2 (*.dat *.DAT *.ani *.ANI);;すべてのファイル (*)</translation>
    </message>
    <message>
        <location filename="../viewer_dialogs.cpp" line="39"/>
        <source>Settings file</source>
        <translation>設定ファイル</translation>
    </message>
    <message>
        <location filename="../viewer_dialogs.cpp" line="40"/>
        <source>Settings files (*.ini *.INI);;All files (*)</source>
        <translation>設定ファイル (*.ini *.INI);;すべてのファイル (*)</translation>
    </message>
    <message>
        <location filename="../viewer_dialogs.cpp" line="46"/>
        <source>Save picture</source>
        <translation>画像を保存</translation>
    </message>
    <message>
        <location filename="../viewer_dialogs.cpp" line="47"/>
        <source>PNG pictures (*.png)</source>
        <translation>PNG 画像 (*.png)</translation>
    </message>
</context>
</TS>
