<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru" sourcelanguage="en">
<context>
    <name>AboutBox</name>
    <message>
        <source>About</source>
        <translation>О программе</translation>
    </message>
    <message>
        <source>Written by the Lexifol developers</source>
        <translation>Разработчики Lexifol</translation>
    </message>
    <message>
        <source>Released December 2026</source>
        <translation>Выпуск: декабрь 2026</translation>
    </message>
    <message>
        <source>Contact: lexifol@example.org</source>
        <translation>Связь: lexifol@example.org</translation>
    </message>
    <message>
        <source>Folders</source>
        <translation>Папки</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>ОК</translation>
    </message>
</context>
<context>
    <name>ConfigurationDialog</name>
    <message>
        <source>Configuration</source>
        <translation>Настройка</translation>
    </message>
    <message>
        <source>Shortcut key</source>
        <translation>Клавиша</translation>
    </message>
    <message>
        <source>Dictionary name</source>
        <translation>Имя словаря</translation>
    </message>
    <message>
        <source>Dictionaries</source>
        <translation>Словари</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Сохранить</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Закрыть</translation>
    </message>
    <message>
        <source>Key:</source>
        <translation>Клавиша:</translation>
    </message>
    <message>
        <source>Dictionary:</source>
        <translation>Словарь:</translation>
    </message>
    <message>
        <source>Second index</source>
        <translation>Второй указатель</translation>
    </message>
    <message>
        <source>Dictionary</source>
        <translation>Словарь</translation>
    </message>
    <message>
        <source>Replacement rules</source>
        <translation>Правила замены</translation>
    </message>
    <message>
        <source>Accepted rules</source>
        <translation>Принятые правила</translation>
    </message>
    <message>
        <source>Add&amp;&amp;Check</source>
        <translation>Добавить и проверить</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>Начать</translation>
    </message>
    <message>
        <source>Clear accepted rules</source>
        <translation>Очистить принятые правила</translation>
    </message>
    <message>
        <source>Clear rules</source>
        <translation>Очистить правила</translation>
    </message>
    <message>
        <source>Check first index</source>
        <translation>Проверить первый указатель</translation>
    </message>
    <message>
        <source>Check second index</source>
        <translation>Проверить второй указатель</translation>
    </message>
    <message>
        <source>Show normalisation preview</source>
        <translation>Показывать нормализованную форму</translation>
    </message>
    <message>
        <source>Error (line %1)</source>
        <translation>Ошибка (строка %1)</translation>
    </message>
    <message>
        <source>Empty list</source>
        <translation>Пустой список</translation>
    </message>
    <message>
        <source>Can not create %1</source>
        <translation>Не удалось создать %1</translation>
    </message>
    <message>
        <source>Second index was created successfully</source>
        <translation>Второй указатель создан</translation>
    </message>
    <message>
        <source>Can not create second index</source>
        <translation>Не удалось создать второй указатель</translation>
    </message>
    <message>
        <source>There is no second index for this dictionary.</source>
        <translation>У этого словаря нет второго указателя.</translation>
    </message>
    <message>
        <source>No errors was found.</source>
        <translation>Ошибок не найдено.</translation>
    </message>
    <message>
        <source>Sorting of second index is correct!</source>
        <translation>Второй указатель упорядочен верно!</translation>
    </message>
    <message>
        <source>Sorting of first index is correct!</source>
        <translation>Первый указатель упорядочен верно!</translation>
    </message>
    <message>
        <source>Can not save %1: %2</source>
        <translation>Не удалось сохранить %1: %2</translation>
    </message>
    <message>
        <source>Shortcuts</source>
        <translation>Быстрые клавиши</translation>
    </message>
    <message>
        <source> contains errors.</source>
        <translation> содержит ошибки.</translation>
    </message>
    <message>
        <source>Check </source>
        <translation>См. </translation>
    </message>
    <message>
        <source>Keyboard</source>
        <translation>Клавиатура</translation>
    </message>
    <message>
        <source>Keyboard layout</source>
        <translation>Раскладка клавиатуры</translation>
    </message>
    <message>
        <source>Typed in:</source>
        <translation>Набор на:</translation>
    </message>
    <message>
        <source>(the system&apos;s own)</source>
        <translation>(раскладка системы)</translation>
    </message>
    <message>
        <source>Saved: typing in “%1” follows it from the next time it is opened.</source>
        <translation>Сохранено: набор в словаре «%1» будет следовать ей, когда он будет открыт в следующий раз.</translation>
    </message>
</context>
<context>
    <name>MainControls</name>
    <message>
        <source>Page</source>
        <translation>Страница</translation>
    </message>
    <message>
        <source>Dictionaries</source>
        <translation>Словари</translation>
    </message>
    <message>
        <source>Move up</source>
        <translation>Выше</translation>
    </message>
    <message>
        <source>Move down</source>
        <translation>Ниже</translation>
    </message>
    <message>
        <source>Normalisation preview</source>
        <translation>Нормализованная форма</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>Поиск</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Назад</translation>
    </message>
    <message>
        <source>Forward</source>
        <translation>Вперёд</translation>
    </message>
    <message>
        <source>Add bookmark</source>
        <translation>Добавить закладку</translation>
    </message>
    <message>
        <source>Find</source>
        <translation>Найти</translation>
    </message>
    <message>
        <source>Annotation</source>
        <translation>Аннотация</translation>
    </message>
    <message>
        <source>Bookmarks</source>
        <translation>Закладки</translation>
    </message>
    <message>
        <source>History</source>
        <translation>История</translation>
    </message>
    <message>
        <source>Index</source>
        <translation>Указатель</translation>
    </message>
    <message>
        <source>Configuration</source>
        <translation>Настройка</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Справка</translation>
    </message>
    <message>
        <source>Lexifol Help</source>
        <translation>Справка Lexifol</translation>
    </message>
    <message>
        <source>Current keyboard layout</source>
        <translation>Текущая раскладка клавиатуры</translation>
    </message>
    <message>
        <source>About</source>
        <translation>О программе</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>The index of %1 holds no entries.</source>
        <translation>Указатель словаря %1 пуст.</translation>
    </message>
    <message>
        <source>No dictionary is installed.</source>
        <translation>Не установлено ни одного словаря.</translation>
    </message>
    <message>
        <source>not found: &quot;%1&quot; comes after the last headword</source>
        <translation>не найдено: «%1» идёт после последнего заглавного слова</translation>
    </message>
    <message>
        <source>The dictionary &quot;%1&quot; is not installed</source>
        <translation>Словарь «%1» не установлен</translation>
    </message>
    <message>
        <source>Text search</source>
        <translation>Поиск по тексту</translation>
    </message>
    <message>
        <source>Not saved: %1</source>
        <translation>Не сохранено: %1</translation>
    </message>
</context>
<context>
    <name>lexifol</name>
    <message>
        <source>Cannot copy %1: %2</source>
        <translation>Не удаётся скопировать %1: %2</translation>
    </message>
    <message>
        <source>Cannot make the folder %1</source>
        <translation>Не удаётся создать папку %1</translation>
    </message>
    <message>
        <source>%1 is a link to a file outside the dictionary&apos;s folder: nothing was added</source>
        <translation>%1 — ссылка на файл вне папки словаря: ничего не добавлено</translation>
    </message>
    <message>
        <source>Cannot copy %1</source>
        <translation>Не удаётся скопировать %1</translation>
    </message>
    <message>
        <source>Cannot move %1 out of the way</source>
        <translation>Не удаётся убрать %1</translation>
    </message>
    <message>
        <source>%1 holds %2 index files (NAME.list); a dictionary&apos;s folder holds one</source>
        <translation>В %1 %2 файлов указателя (ИМЯ.list); в папке словаря должен быть один</translation>
    </message>
    <message>
        <source>No index file: give a NAME.list, or a folder holding one</source>
        <translation>Нет файла указателя: укажите ИМЯ.list или папку, в которой он есть</translation>
    </message>
    <message>
        <source>The index file is damaged at %1.</source>
        <translation>Файл указателя повреждён: %1.</translation>
    </message>
    <message>
        <source>The index holds no entries.</source>
        <translation>Указатель пуст.</translation>
    </message>
    <message>
        <source>%1 pairs of entries are out of order: some words will not be found.</source>
        <translation>Пар статей не по порядку: %1; некоторые слова не найдутся.</translation>
    </message>
    <message>
        <source>The DjVu document cannot be read: %1</source>
        <translation>Документ DjVu не читается: %1</translation>
    </message>
    <message>
        <source>Cannot make %1</source>
        <translation>Не удаётся создать %1</translation>
    </message>
    <message>
        <source>%1 was moved to %2, but not its folder: %3</source>
        <translation>%1 перемещён в %2, но не его папка: %3</translation>
    </message>
    <message>
        <source>Unknown keyboard layout “%1”</source>
        <translation>Неизвестная раскладка клавиатуры «%1»</translation>
    </message>
    <message>
        <source>The keyboard layouts cannot be read (libxkbcommon)</source>
        <translation>Не удаётся прочитать раскладки клавиатуры (libxkbcommon)</translation>
    </message>
    <message>
        <source>The keyboard layout %1: the system switched to it</source>
        <translation>Раскладка %1: система переключилась на неё</translation>
    </message>
    <message>
        <source>The keyboard layout %1: Lexifol maps the keys typed here; other programs keep yours</source>
        <translation>Раскладка %1: Lexifol сам переводит нажатые здесь клавиши; другие программы сохраняют вашу</translation>
    </message>
    <message>
        <source>nothing can be made in %1</source>
        <translation>в %1 ничего нельзя создать</translation>
    </message>
    <message>
        <source>%1 is not a folder</source>
        <translation>%1 — не папка</translation>
    </message>
    <message>
        <source>%1 cannot be written: %2.</source>
        <translation>В %1 нельзя записать: %2.</translation>
    </message>
    <message>
        <source>“%1” cannot be a headword</source>
        <translation>«%1» не может быть заглавным словом</translation>
    </message>
    <message>
        <source>Unknown error</source>
        <translation>Неизвестная ошибка</translation>
    </message>
    <message>
        <source>Dictionary title</source>
        <translation>Название словаря</translation>
    </message>
    <message>
        <source>Can not open %1</source>
        <translation>Не удаётся открыть %1</translation>
    </message>
    <message>
        <source>Can not open file %1</source>
        <translation>Не удаётся открыть файл %1</translation>
    </message>
    <message>
        <source>Cannot open file %1</source>
        <translation>Не удаётся открыть файл %1</translation>
    </message>
    <message>
        <source>Unknown collation &quot;%1&quot; in %2; the index is compared as in the user&apos;s locale</source>
        <translation>Неизвестная сортировка «%1» в %2; указатель сравнивается по правилам языка пользователя</translation>
    </message>
    <message>
        <source>Check %1<byte value="xd"/>
This file may have errors.</source>
        <translation>Проверьте %1<byte value="xd"/>
В этом файле могут быть ошибки.</translation>
    </message>
    <message>
        <source>A dictionary named &quot;%1&quot; is installed already.</source>
        <translation>Словарь с именем «%1» уже установлен.</translation>
    </message>
    <message>
        <source>The file is read-only</source>
        <translation>Файл доступен только для чтения</translation>
    </message>
    <message>
        <source>Until that is mended, your settings, bookmarks and dictionaries are kept in %1, which the system may empty when it restarts.</source>
        <translation>Пока это не исправлено, ваши настройки, закладки и словари хранятся в %1, а эту папку система может очистить при перезапуске.</translation>
    </message>
    <message>
        <source>Portable: everything in %1
(the catalogue, bookmarks and Plugin.dat in the folder Lexifol was started from)</source>
        <translation>Переносная установка: всё в %1
(каталог, закладки и Plugin.dat в папке, из которой запущен Lexifol)</translation>
    </message>
    <message>
        <source>Portable, read-only: the dictionaries of %1; your own files elsewhere
</source>
        <translation>Переносная, только для чтения: словари из %1; ваши файлы в другом месте
</translation>
    </message>
    <message>
        <source>Installed
Settings: %1
Your files and dictionaries: %2
Cache: %3</source>
        <translation>Установлен
Настройки: %1
Ваши файлы и словари: %2
Кэш: %3</translation>
    </message>
    <message>
        <source>Shipped dictionaries: %1</source>
        <translation>Словари из поставки: %1</translation>
    </message>
    <message>
        <source>the unreadable file could not be renamed</source>
        <translation>не удалось переименовать нечитаемый файл</translation>
    </message>
    <message>
        <source>the trash</source>
        <translation>корзину</translation>
    </message>
    <message>
        <source>its index cannot be read</source>
        <translation>его указатель не читается</translation>
    </message>
    <message>
        <source>not opened: the memory set aside for dictionaries is used up</source>
        <translation>не открыт: память, отведённая словарям, занята</translation>
    </message>
</context>
<context>
    <name>lexifol::DictionaryMaker</name>
    <message>
        <source>Making a dictionary</source>
        <translation>Создание словаря</translation>
    </message>
    <message>
        <source>Added %1</source>
        <translation>%1 добавлен</translation>
    </message>
    <message>
        <source>Adding %1 was cancelled</source>
        <translation>Добавление %1 отменено</translation>
    </message>
    <message>
        <source>The dictionary was not added. </source>
        <translation>Словарь не добавлен. </translation>
    </message>
    <message>
        <source>: %v of %m pages</source>
        <translation>: %v из %m страниц</translation>
    </message>
    <message>
        <source>Making %1 was cancelled; the pages read are kept for the next try</source>
        <translation>Создание %1 отменено; распознанные страницы сохранены для следующей попытки</translation>
    </message>
    <message>
        <source>%1 could not be made. %2</source>
        <translation>Не удалось создать %1. %2</translation>
    </message>
</context>
<context>
    <name>lexifol::EntryLists</name>
    <message>
        <source>1 bookmark cleared</source>
        <translation>Удалена 1 закладка</translation>
    </message>
    <message numerus="yes">
        <source>%n bookmarks cleared</source>
        <translation>
            <numerusform>Удалена %n закладка</numerusform>
            <numerusform>Удалены %n закладки</numerusform>
            <numerusform>Удалено %n закладок</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>lexifol::OtherStrip</name>
    <message>
        <source>: page %1</source>
        <translation>: стр. %1</translation>
    </message>
    <message>
        <source>: opening…</source>
        <translation>: открывается…</translation>
    </message>
    <message>
        <source>: cannot be opened</source>
        <translation>: не открывается</translation>
    </message>
    <message>
        <source>In other dictionaries</source>
        <translation>В других словарях</translation>
    </message>
    <message>
        <source>Open %1 with the word (Alt+%2)</source>
        <translation>Открыть %1 с этим словом (Alt+%2)</translation>
    </message>
</context>
<context>
    <name>lexifol::PageView</name>
    <message>
        <source>Fit width</source>
        <translation>По ширине</translation>
    </message>
    <message>
        <source>Fit page</source>
        <translation>Страница целиком</translation>
    </message>
    <message>
        <source>Actual size (100 %)</source>
        <translation>Исходный размер (100 %)</translation>
    </message>
    <message>
        <source>Zoom in</source>
        <translation>Крупнее</translation>
    </message>
    <message>
        <source>Zoom out</source>
        <translation>Мельче</translation>
    </message>
    <message>
        <source>Copy selection</source>
        <translation>Копировать выделенное</translation>
    </message>
    <message>
        <source>Copy page text</source>
        <translation>Копировать текст страницы</translation>
    </message>
    <message>
        <source>Copy &quot;%1&quot;</source>
        <translation>Копировать «%1»</translation>
    </message>
    <message>
        <source>Look up &quot;%1&quot;</source>
        <translation>Найти «%1» в словаре</translation>
    </message>
    <message>
        <source>Cannot open file %1</source>
        <translation>Не удаётся открыть файл %1</translation>
    </message>
    <message>
        <source>Loading…</source>
        <translation>Загрузка…</translation>
    </message>
</context>
<context>
    <name>lexifol::StatusLine</name>
    <message>
        <source>Status</source>
        <translation>Состояние</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Отменить</translation>
    </message>
    <message>
        <source>Page</source>
        <translation>Страница</translation>
    </message>
    <message>
        <source>Go to a page (Ctrl+G)</source>
        <translation>Перейти к странице (Ctrl+G)</translation>
    </message>
    <message>
        <source>Keyboard layout</source>
        <translation>Раскладка клавиатуры</translation>
    </message>
    <message>
        <source>Zoom</source>
        <translation>Масштаб</translation>
    </message>
    <message>
        <source>Zoom in, out: Ctrl++, Ctrl+−</source>
        <translation>Крупнее, мельче: Ctrl++, Ctrl+−</translation>
    </message>
    <message>
        <source>page %1 of %2</source>
        <translation>стр. %1 из %2</translation>
    </message>
    <message>
        <source>page %1 of %2 (printed %3)</source>
        <translation>стр. %1 из %2 (в книге %3)</translation>
    </message>
</context>
<context>
    <name>lexifol::StatusProgress</name>
    <message>
        <source>Cancel</source>
        <translation>Отмена</translation>
    </message>
</context>
<context>
    <name>lexifol::TextSearchPane</name>
    <message>
        <source>Text search</source>
        <translation>Поиск по тексту</translation>
    </message>
    <message>
        <source>words, &quot;a phrase&quot;, prefix*</source>
        <translation>слова, «фраза», начало*</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Очистить</translation>
    </message>
    <message>
        <source>All checked dictionaries</source>
        <translation>Все отмеченные словари</translation>
    </message>
    <message>
        <source>Found pages</source>
        <translation>Найденные страницы</translation>
    </message>
    <message>
        <source>Making the pages searchable</source>
        <translation>Страницы готовятся к поиску</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Отмена</translation>
    </message>
    <message>
        <source>Only the first %1 words (%2 characters) are searched</source>
        <translation>Ищутся только первые %1 слов (%2 знаков)</translation>
    </message>
    <message>
        <source>No dictionary is checked</source>
        <translation>Ни один словарь не отмечен</translation>
    </message>
    <message>
        <source>No dictionary is open</source>
        <translation>Ни один словарь не открыт</translation>
    </message>
    <message>
        <source>p. %1: </source>
        <translation>с. %1: </translation>
    </message>
    <message>
        <source>Not found in the pages</source>
        <translation>На страницах не найдено</translation>
    </message>
    <message>
        <source>Making the pages of %1 searchable</source>
        <translation>Страницы словаря %1 готовятся к поиску</translation>
    </message>
    <message>
        <source>The pages of %1 cannot be searched: %2</source>
        <translation>Искать по страницам словаря %1 нельзя: %2</translation>
    </message>
    <message>
        <source>%1, page %2</source>
        <translation>%1, страница %2</translation>
    </message>
</context>
<context>
    <name>lexifol::WindowExtras</name>
    <message>
        <source>Full screen</source>
        <translation>Во весь экран</translation>
    </message>
    <message>
        <source>Leave full screen</source>
        <translation>Выйти из полноэкранного режима</translation>
    </message>
    <message>
        <source>Print the page</source>
        <translation>Напечатать страницу</translation>
    </message>
    <message>
        <source>Go to page</source>
        <translation>Перейти к странице</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Отменить</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Справка</translation>
    </message>
    <message>
        <source>Add a bookmark</source>
        <translation>Добавить закладку</translation>
    </message>
    <message>
        <source>Zoom in</source>
        <translation>Крупнее</translation>
    </message>
    <message>
        <source>Zoom out</source>
        <translation>Мельче</translation>
    </message>
    <message>
        <source>Add dictionary…</source>
        <translation>Добавить словарь…</translation>
    </message>
    <message>
        <source>Current keyboard layout:</source>
        <translation>Текущая раскладка клавиатуры:</translation>
    </message>
    <message>
        <source>%1 found on the page</source>
        <translation>Найдено на странице: %1</translation>
    </message>
    <message>
        <source>not found on the page</source>
        <translation>на странице не найдено</translation>
    </message>
    <message>
        <source>A dictionary named &quot;%1&quot; is installed already.</source>
        <translation>Словарь с именем «%1» уже установлен.</translation>
    </message>
    <message>
        <source>Making %1…</source>
        <translation>Создаётся %1…</translation>
    </message>
    <message>
        <source>A dictionary is being added already: wait until it is there, or cancel it.</source>
        <translation>Словарь уже добавляется: дождитесь окончания или отмените.</translation>
    </message>
    <message>
        <source>Add dictionary</source>
        <translation>Добавить словарь</translation>
    </message>
    <message>
        <source>Its name:</source>
        <translation>Его имя:</translation>
    </message>
    <message>
        <source>The dictionary was not added.

</source>
        <translation>Словарь не добавлен.

</translation>
    </message>
    <message>
        <source>Index and document (*.list *.txt *.djvu);;All files (*)</source>
        <translation>Указатель и документ (*.list *.txt *.djvu);;Все файлы (*)</translation>
    </message>
    <message>
        <source>Remove “%1”</source>
        <translation>Удалить «%1»</translation>
    </message>
    <message>
        <source>Installed with the program: uncheck it to leave it out</source>
        <translation>Установлен вместе с программой: снимите отметку, чтобы не использовать</translation>
    </message>
    <message>
        <source>&quot;%1&quot; was installed with the program and can only be unchecked.</source>
        <translation>«%1» установлен вместе с программой; с него можно только снять отметку.</translation>
    </message>
    <message>
        <source>The dictionary was not removed.

</source>
        <translation>Словарь не удалён.

</translation>
    </message>
    <message>
        <source>Removed %1: moved to %2</source>
        <translation>%1 удалён: перемещён в %2</translation>
    </message>
    <message>
        <source>Page begins with “%1”</source>
        <translation>Страница начинается со слова «%1»</translation>
    </message>
    <message>
        <source>Next page in doubt (%1)</source>
        <translation>Следующая сомнительная страница (%1)</translation>
    </message>
    <message>
        <source>The index was not changed.

</source>
        <translation>Указатель не изменён.

</translation>
    </message>
    <message>
        <source>Page %1 begins with “%2”</source>
        <translation>Страница %1 начинается со слова «%2»</translation>
    </message>
    <message>
        <source>No page is left in doubt</source>
        <translation>Сомнительных страниц не осталось</translation>
    </message>
    <message>
        <source>The dictionaries were looked at again: %1 installed</source>
        <translation>Словари просмотрены заново: установлено %1</translation>
    </message>
    <message>
        <source>No page to print</source>
        <translation>Нечего печатать</translation>
    </message>
    <message>
        <source>No document on view</source>
        <translation>Документ не открыт</translation>
    </message>
    <message numerus="yes">
        <source>Page as printed, or #N for the N-th of the file&apos;s %n pages:</source>
        <translation>
            <numerusform>Страница по книге или #N для N-й из %n страницы файла:</numerusform>
            <numerusform>Страница по книге или #N для N-й из %n страниц файла:</numerusform>
            <numerusform>Страница по книге или #N для N-й из %n страниц файла:</numerusform>
        </translation>
    </message>
    <message>
        <source>No page “%1” in this dictionary</source>
        <translation>В этом словаре нет страницы «%1»</translation>
    </message>
    <message>
        <source>Page (1 to %1):</source>
        <translation>Страница (от 1 до %1):</translation>
    </message>
    <message>
        <source>“%1” has no index. Make a dictionary named “%2” from it?

Lexifol reads its pages (the text of scanned pages that have none is recognised), proposes the page each headword is on and makes the pages searchable. This runs in the background and may take minutes.</source>
        <translation>У «%1» нет указателя. Сделать из него словарь с именем «%2»?

Lexifol прочитает страницы (текст отсканированных страниц без текстового слоя будет распознан), предложит страницу для каждого заглавного слова и подготовит страницы к поиску. Работа идёт в фоне и может занять несколько минут.</translation>
    </message>
    <message>
        <source>Add dictionary: its index (with its DjVu document when it has no NAME.files folder), or a DjVu document to make one from</source>
        <translation>Добавить словарь: его указатель (с документом DjVu, если нет папки ИМЯ.files) или документ DjVu, из которого его сделать</translation>
    </message>
</context>
<context>
    <name>lexifol::pv::FindDialog</name>
    <message>
        <source>Searching…</source>
        <translation>Поиск…</translation>
    </message>
    <message>
        <source>This page has no text layer</source>
        <translation>На этой странице нет текстового слоя</translation>
    </message>
    <message>
        <source>Not found</source>
        <translation>Не найдено</translation>
    </message>
    <message numerus="yes">
        <source>%n found</source>
        <translation>
            <numerusform>%n совпадение</numerusform>
            <numerusform>%n совпадения</numerusform>
            <numerusform>%n совпадений</numerusform>
        </translation>
    </message>
    <message>
        <source>Find</source>
        <translation>Найти</translation>
    </message>
    <message>
        <source>Find what:</source>
        <translation>Что искать:</translation>
    </message>
</context>
<context>
    <name>lexifol::pv::PageToolbar</name>
    <message>
        <source>Zoom out</source>
        <translation>Мельче</translation>
    </message>
    <message>
        <source>Zoom in</source>
        <translation>Крупнее</translation>
    </message>
    <message>
        <source>Fit width</source>
        <translation>По ширине</translation>
    </message>
    <message>
        <source>Fit the page width</source>
        <translation>Подогнать по ширине страницы</translation>
    </message>
</context>
</TS>
