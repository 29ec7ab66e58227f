#pragma once

namespace vehmira::gui {

// Every text the window shows, under the key a language file gives it by, with
// the built-in Russian text that stands whenever a language lacks the key.
//
// Adding a translatable text takes two lines:
//   1. one line here:  X(MyNewKey, L"Русский текст")   (placeholders %1..%9 for
//      values filled in at run time by InterfaceText(key, {values...}));
//   2. "MyNewKey=English text" in the [English] section of gui/resources/Vehmira.lng.
// The code then shows InterfaceText(TTextKey::MyNewKey). A language file
// without the key shows the Russian text, so a missing translation is never
// an empty caption.

#define VEHMIRA_INTERFACE_TEXTS(X)                                                                                  \
    /* The main window and its menu */                                                                              \
    X(MainCaption, L"Vehmira 1.0 :: Русская версия от Korvast Localisations")                                       \
    X(ExportGroup, L" Экспортировать ")                                                                             \
    X(DffFile, L"DFF-файл")                                                                                         \
    X(TxdFile, L"TXD-файл")                                                                                         \
    X(GxtFile, L"GXT-файл")                                                                                         \
    X(ActionGroup, L" Действие ")                                                                                   \
    X(ExportButton, L"&Экспорт")                                                                                     \
    X(ImportButton, L"&Импорт")                                                                                      \
    X(VehiclesGroup, L" Транспортные средства ")                                                                    \
    X(IdColumn, L"ID")                                                                                              \
    X(NameColumn, L"Название")                                                                                      \
    X(ModelColumn, L"Модель")                                                                                       \
    X(NameFromModel, L"%1 (без названия)")                                                                          \
    X(FileMenu, L"&Файл  ")                                                                                          \
    X(UndoImportMenuItem, L"&Отменить импорт")                                                                       \
    X(HistoryMenuItem, L"&История импортов...")                                                                      \
    X(HistoryCaption, L"История импортов")                                                                           \
    X(HistoryVehicleColumn, L"Транспорт")                                                                            \
    X(HistorySourceColumn, L"Источник")                                                                              \
    X(HistoryTimeColumn, L"Время")                                                                                   \
    X(HistoryStateColumn, L"Состояние")                                                                              \
    X(HistoryNextUndo, L"отменится первым")                                                                          \
    X(HistoryUndoable, L"можно отменить")                                                                            \
    X(HistoryUndone, L"отменён")                                                                                     \
    X(HistoryRetired, L"нельзя отменить: архив перестроен")                                                          \
    X(ExitMenuItem, L"В&ыход")                                                                                       \
    X(RefreshMenuItem, L"О&бновить список\tF5")                                                                      \
    X(ListStatusNoGame, L"Каталог игры не указан: «Установки» → «Путь».")                                            \
    X(ListStatusNotOpened, L"Список пуст: игра не открылась. Устраните причину и нажмите F5.")                       \
    X(ExportVehicleMenuItem, L"&Экспортировать...")                                                                  \
    X(ImportOverVehicleMenuItem, L"&Импортировать поверх...")                                                        \
    X(SettingsMenu, L"&Установки  ")                                                                                 \
    X(PathMenuItem, L"&Путь")                                                                                        \
    X(LanguageMenuItem, L"&Язык")                                                                                    \
    X(HelpMenu, L"&Справка  ")                                                                                       \
    X(AboutMenuItem, L"&О программе")                                                                                \
    X(InterruptedImportsRestored, L"Прерванный импорт отменён, файлы игры восстановлены:")                         \
    X(NotAnInteger, L"\"%1\" не является целым числом")                                                             \
    X(NoSuchVehicle, L"Транспортное средство с ID %1 не найдено в Data\\Vehicles.ide")                              \
    X(NothingToUndo, L"Отменять нечего: в этом каталоге игры нет импорта, который можно отменить.")                 \
    X(UndoQuestion, L"Отменить последний импорт?\r\n\r\nЗаменённое транспортное средство: %1\r\nИсточник: %2\r\nВремя: %3") \
    X(SeparateFilesSource, L"отдельные файлы")                                                                      \
    X(UndoRefused, L"Импорт поверх %1 не отменён: файл %2 изменился после этого импорта. Файлы игры не изменены.")  \
    X(UndoDone, L"Импорт отменён: файлы игры восстановлены.")                                                       \
    X(DropOnlyOnePackage, L"Сюда можно перетащить только один пакет транспортного средства — файл «.car».")         \
    X(NoVehicleSelected, L"  Сначало выберите транспортное средство!!")                                                                     \
    X(NoGameOpen, L"Каталог игры не открыт: укажите его в меню «Установки» → «Путь»")                               \
    X(CarFileFilter, L"CAR-файлы (*.car)|*.car|Все файлы|*.*")                                                                            \
    X(NoPieceChosen, L"Не отмечено ни одной части для экспорта: отметьте хотя бы одну.")                                                   \
    X(OverwriteQuestion, L"Файл \"%1\" уже существует. Заменить его?")                                                                   \
    X(ExportDone, L"Пакет сохранён: \"%1\".")                                                                                            \
    X(DffFileFilter, L"DFF-файлы (*.dff)|*.dff|Все файлы|*.*")                                                                            \
    X(TxdFileFilter, L"TXD-файлы (*.txd)|*.txd|Все файлы|*.*")                                                                            \
    X(UnknownError, L"Неизвестная ошибка")                                                                          \
    X(SettingsNotWritten, L"Не удалось записать настройки в %1")                                                    \
    /* The path dialog */                                                                                           \
    X(PathCaption, L"Путь")                                                                                         \
    X(PathLabel, L"Укажите каталог с игрой GTA: San Andreas:")                                                      \
    X(BrowseButton, L"&Обзор...")                                                                                    \
    X(CancelButton, L"Отмена")                                                                                      \
    X(PathBrowseTitle, L"Выберите папку с игрой GTA: San Andreas:")                                                   \
    /* The language dialog */                                                                                       \
    X(LanguageCaption, L"Выбор языка")                                                                              \
    X(LanguageGroup, L" Язык ")                                                                                     \
    X(GxtGroup, L" GXT-файл ")                                                                                      \
    X(LanguageCancelButton, L"Отмена")                                                                              \
    /* The about box and the never shown export window */                                                           \
    X(AboutCaption, L"О программе")                                                                                 \
    X(VersionText, L"Версия %1")                                                                                    \
    X(Credits, L"Кодер: Vehmira contributors\r\nПеревод: Vehmira contributors\r\nАвтор: Vehmira contributors\r\n"   \
               L"Эл. почта: нет\r\nСайт: нет\r\nФорум: нет")                                                        \
    X(ExportCaption, L"Экспорт")                                                                                    \
    /* The import dialogs */                                                                                        \
    X(ImportCaption, L"Импорт транспортного средства")                                                              \
    X(ImportKindQuestion, L"Каким способом Вы хотите импортировать\r\nтранспортное средство?")                      \
    X(ImportPackageChoice, L"Импорт файла *.car")                                                                   \
    X(ImportFilesChoice, L"Импорт нескольких файлов")                                                               \
    X(NextButton, L"&Далее >>")                                                                                      \
    X(BackButton, L"<< &Назад")                                                                                      \
    X(FilesGroup, L" Файлы ")                                                                                       \
    X(LinesGroup, L" Файлы настроек транспортного средства ")                                                       \
    X(HandlingSpecialLabel, L"Доп. строка")                                                                         \
    X(NameGroup, L" Название транспортного средства ")                                                              \
    X(NameLabel, L"Название")                                                                                       \
    X(HandlingSpecialField, L"Handling.cfg, особая строка")                                                         \
    X(NotInCodePage, L"Поле «%1» содержит символы, которых нет в кодировке Windows-1251.")                          \
    X(ReplaceQuestion, L"Какое транспортное средство\r\nВы хотите заменить?")                                       \
    X(ImportSucceeded, L"  Импортирование успешно завершено!!!  ")                                                  \
    X(ImportWritten, L"%1: записано: %2.\r\n\r\nИмпорт можно отменить: «%3» → «%4».")                               \
    X(ImportFailed, L"  Ошибка при импортировании!")                                                                \
    X(CheckPassed, L"Проверка: игра загрузит этот транспорт.")                                                      \
    X(FilesCheckPassed, L"Модель и текстуры читаются. Проверка по транспорту, который они заменят, — на следующем шаге.") \
    X(CheckErrorsHeading, L"Игра не сможет загрузить этот транспорт:")                                              \
    X(CheckWarningsHeading, L"Предупреждения:")                                                                     \
    X(CheckNotRun, L"Проверка невозможна: %1")                                                                      \
    X(ConfirmImportWithErrors, L"%1\r\n\r\nВсё равно импортировать?")                                               \
    X(CheckUnreadableModel, L"Модель не читается: файл повреждён или это не модель RenderWare.")                    \
    X(CheckUnreadableTextures, L"Словарь текстур не читается: файл повреждён или это не словарь текстур RenderWare.") \
    X(CheckMissingFrame, L"В модели нет фрейма «%1».")                                                              \
    X(CheckNoCollision, L"В модели нет коллизии.")                                                                  \
    X(CheckBadCollision, L"Коллизия модели повреждена (%1).")                                                       \
    X(CheckFrameNameTooLong, L"Имя фрейма «%1» длиннее 23 символов.")                                               \
    X(CheckUnsupportedVersion, L"Игра не читает RenderWare %1.")                                                    \
    X(CheckExtraWithoutAtomic, L"У фрейма «%1» нет своей детали.")                                                  \
    X(CheckConsoleData, L"Геометрия модели сделана для приставки.")                                                 \
    X(CheckIdeFields, L"В строке Vehicles.ide только %1 полей.")                                                    \
    X(CheckIdeType, L"Тип «%1» в строке Vehicles.ide игре неизвестен.")                                             \
    X(CheckHandlingMissing, L"В Handling.cfg нет строки «%1».")                                                     \
    X(CheckHandlingKind, L"В Handling.cfg нет строки «%1» для этого типа.")                                         \
    X(CheckHandlingFields, L"Строка Handling.cfg содержит неверное число значений (%1).")                           \
    X(CheckModelKind, L"Модель сделана для другого вида транспорта (%1).")                                          \
    X(KindMismatchSentence, L"Это модель вида «%1», а %2 — «%3».")                                                  \
    X(VehicleKindCar, L"автомобиль")                                                                                \
    X(VehicleKindBike, L"мотоцикл")                                                                                 \
    X(VehicleKindBmx, L"велосипед")                                                                                 \
    X(VehicleKindQuad, L"квадроцикл")                                                                               \
    X(VehicleKindMonsterTruck, L"монстр-трак")                                                                      \
    X(VehicleKindBoat, L"катер")                                                                                    \
    X(VehicleKindHeli, L"вертолёт")                                                                                 \
    X(VehicleKindPlane, L"самолёт")                                                                                 \
    X(VehicleKindTrailer, L"прицеп")                                                                                \
    X(VehicleKindTrain, L"поезд")                                                                                   \
    X(CheckMissingTexture, L"Текстура «%1» не найдена.")                                                            \
    X(CheckNoDamagedParts, L"Нет повреждённых деталей (_dam).")                                                     \
    X(CheckNoLowDetail, L"Нет детали для дальнего вида (_vlo).")                                                    \
    X(CheckMissingDummy, L"Нет точки «%1».")                                                                        \
    X(CheckNoWheelAtomic, L"Под «%1» нет колеса.")                                                                  \
    X(CheckWheelSizeZero, L"Размер колеса в поле %1 равен 0.")                                                      \
    X(CheckGXTKeysUnsorted, L"В %1 ключи главной таблицы не упорядочены по хешу: игра не находит части названий. "  \
      L"Импорт с новым названием упорядочит их.")                                                                   \
    X(CheckIdeFieldsGameLine, L"В собственной строке игры в Vehicles.ide только %1 полей: недостающие поля колёс игра читает из неинициализированной памяти (известная ошибка Skimmer).") \
    X(CheckMissingModel, L"Модели «%1» нет ни в одном архиве, который читает игра: игра вылетит, загружая машину.") \
    X(CheckMissingTxd, L"Словаря текстур «%1» нет ни в одном архиве, который читает игра: игра вылетит, загружая машину.") \
    X(CheckArchiveShadowed, L"«%1» лежит в нескольких архивах: игра загружает его из первого по порядку чтения.") \
    X(CheckPaintjobLimit, L"Игра даёт машине %1 покрасок, а вмещает четыре: лишние портят её память.") \
    X(CheckCarcolsUnknownModel, L"Строка Carcols.dat называет модель «%1», которой нет: игра вылетит при чтении цветов.") \
    X(CheckCarcolsColourRange, L"Строка Carcols.dat называет цвет %1, которого нет в таблице цветов.") \
    X(CheckCarcolsTooMany, L"В строке Carcols.dat %1 наборов цветов: игра берёт первые восемь.") \
    X(CheckCarmodsUnknownModel, L"Строка Carmods.dat называет модель «%1», которой нет: игра вылетит при чтении тюнинга.") \
    X(CheckCarmodsUnknownPart, L"Строка Carmods.dat называет деталь «%1», которой нет: игра вылетит при чтении тюнинга.") \
    X(GxtFileError, L"GXT-File Error!!!")                                                                           \
    X(InvalidCarFile, L"  Ungültige CAR-Datei!!")                                                                   \
    X(UnsupportedCarFile, L"  CAR-Datei nicht unterstützt!!")                                                       \
    X(SourceMissing, L"%1-файл \"%2\" не найден.")                                                                  \
    X(SourceUnreadable, L"%1-файл \"%2\" не удаётся прочитать.")                                                    \
    X(SourceNotRenderWare, L"%1-файл \"%2\" не является %3.")                                                       \
    X(PackagePieceNotRenderWare, L"%1 в пакете не является %2.")                                                    \
    X(PackageModel, L"Модель")                                                                                      \
    X(PackageTextures, L"Словарь текстур")                                                                          \
    X(DffStreamTitle, L"моделью RenderWare (DFF)")                                                                  \
    X(TxdStreamTitle, L"словарём текстур RenderWare (TXD)")                                                \
    X(NoGameFolder, L"Папка игры \"%1\" не существует.")                                                          \
    X(NotGameFolder, L"В папке \"%1\" нет игры: не найден файл %2.")                                              \
    X(NothingToImport, L"Импортировать нечего: игра уже содержит всё выбранное, или ничего не выбрано. Файлы игры не изменены.") \
    X(MainHandlingLineTitle, L"Основная строка Handling.cfg")                                      \
    X(SpecialHandlingLineTitle, L"Особая строка Handling.cfg")                                      \
    X(VehiclesLineTitle, L"Строка Vehicles.ide")                                                    \
    X(CarcolsLineTitle, L"Строка Carcols.dat")                                                      \
    X(TypedLineBreak, L"%1 содержит перевод строки.")                                               \
    X(TypedLineComment, L"%1 \"%2\" — это комментарий, а не строка данных.")                        \
    X(TypedLineTooShort, L"%1 \"%2\": полей %3, а нужно не меньше %4.")                              \
    X(TypedLineZeroByte, L"%1 содержит нулевой байт (байт %2): на нём игра обрывает строку.")     \
    X(TypedLineReadBack, L"%1 \"%2\" после сборки читалась бы как другие поля.")                   \
    X(TypedLineNoMarker, L"%1 \"%2\" не начинается со знака особой строки (!, $ или %).")           \
    X(GameLineDamaged, L"В файле игры %1 строка %2 \"%3\" повреждена: в ней нет поля, которое читает игра, или оно пустое. Исправьте строку и повторите импорт.") \
    X(FileInUse, L"Файл \"%1\" занят другой программой. Закройте игру и другие программы, которые могут его держать, и повторите.") \
    X(FileAccessDenied, L"Нет доступа к \"%1\": файл или папка только для чтения, или у вас нет права записи. Если игра установлена в Program Files, запустите программу от имени администратора.") \
    X(DamagedJournal, L"Журнал импорта \"%1\" повреждён: %2. Ничего не изменено; чтобы продолжить, перенесите эту папку в другое место.") \
    X(JournalManifestUnreadable, L"его описание не читается")                                       \
    X(JournalCopyDamaged, L"сохранённые в нём копии обрезаны или изменены")                         \
    X(JournalForeignArchive, L"архивом моделей в нём назван \"%1\", а не Models\\GTA3.img игры")    \
    X(JournalArchiveLonger, L"он задаёт архиву длину %1 байт, больше, чем у архива сейчас")         \
    X(JournalArchiveCut, L"он обрезал бы архив до %1 байт, внутри данных его каталога")             \
    X(JournalFileIsArchive, L"в нём архив моделей \"%1\" назван файлом для восстановления")         \
    X(JournalFileInJournal, L"в нём назван файл \"%1\" внутри папки журнала")                       \
    X(JournalFileNotImported, L"в нём назван файл \"%1\", который импорт не записывает")            \
    X(JournalFileThroughLink, L"в нём назван файл \"%1\", путь к которому идёт через символическую ссылку или точку соединения") \
    X(PreviewMenuItem, L"&Просмотр")                                                                 \
    X(CheckArchiveMenuItem, L"Про&верить архив")                                                     \
    X(RebuildArchiveMenuItem, L"П&ерестроить архив")                                                 \
    X(PreviewButton, L"&Просмотр...")                                                                \
    X(TooLargeFile, L"Файл \"%1\" слишком велик: %2 байт.")                                         \
    X(TooLargePiece, L"Часть пакета слишком велика: %1 байт.")                                      \
    X(ArchiveCheckTitle, L"Проверка архива Models\\GTA3.img")                                       \
    X(ArchiveEntries, L"Записей")                                                                   \
    X(ArchivePairs, L"Соседних пар, которые игра читает вместе")                                    \
    X(ArchiveMisreadPairs, L"Из них игра прочитает неверно")                                        \
    X(ArchiveHoleBytes, L"Неиспользуемых байт между данными")                                       \
    X(ArchiveOverlaps, L"Перекрывающихся записей")                                                  \
    X(ArchivePastEnd, L"Записей за концом файла")                                                   \
    X(ArchiveShortTails, L"Записей с недописанным последним сектором")                              \
    X(ArchiveDuplicates, L"Повторяющихся имён")                                                     \
    X(ArchiveUnterminated, L"Имён без завершающего нуля")                                           \
    X(ArchiveFreeRecords, L"Свободных записей")                                                     \
    X(ArchiveFreeBytes, L"Байт под свободными записями")                                            \
    X(FreeSpaceRebuildQuestion, L"Свободные записи занимают %1% архива: это место осталось от прежних импортов. Перестройка архива вернёт его; импорты, сделанные до перестройки, после неё отменить будет нельзя.\r\n\r\nПерестроить архив сейчас?") \
    X(ArchiveDamaged, L"Архив повреждён: данные записей перекрываются или выходят за конец файла.") \
    X(ArchiveMisread, L"Игра прочитает неверно: %1. Исправьте это командой «Перестроить архив».")   \
    X(ArchiveSound, L"Архив в порядке: игра прочитает все записи верно.")                           \
    X(MisreadArchiveQuestion, L"В архиве Models\\GTA3.img %1 пар(ы) соседних записей лежат не подряд (%2), и игра прочитает их неверно. Так бывает после других программ. Импорты, сделанные до перестройки, после неё отменить будет нельзя.\r\n\r\nПерестроить архив сейчас?") \
    X(RebuildQuestion, L"Перестроить архив Models\\GTA3.img? Данные всех записей будут записаны подряд в порядке каталога; старый архив заменяется только после проверки нового. Импорты, сделанные до перестройки, после неё отменить будет нельзя.") \
    X(RebuildProgress, L"Перестройка архива")                                                       \
    X(RebuildDone, L"Архив перестроен: игра прочитает все записи верно.")                           \
    X(RebuildNotNeeded, L"Архив перестраивать не нужно: его данные уже лежат подряд. Файл не изменён.") \
    X(RebuildCancelled, L"Перестройка отменена, архив не изменён.")        \
    X(PreviewCaptionOf, L"Просмотр транспортного средства: %1")                                                     \
    X(CloseButton, L"Закрыть")                                                                                      \
    X(NoTextures, L"Текстур нет")                                                                                   \
    X(NoModel, L"Модели нет")                                                                                       \
    X(ResetViewButton, L"&Сбросить вид")                                                                             \
    X(PreviewModelPiece, L"Модель")                                                                                 \
    X(PreviewDictionaryPiece, L"Словарь текстур")                                                                   \
    X(PreviewSharedPiece, L"Общий словарь Vehicle.txd")                                                             \
    X(PieceAbsentInPackage, L"%1: в пакете нет.")                                                                   \
    X(PieceAbsentInArchive, L"%1: в архиве нет файла %2.")                                                          \
    X(PieceNotGiven, L"%1: файл не указан.")                                                                        \
    X(PieceNotFound, L"%1: файл \"%2\" не найден.")                                                                 \
    X(PieceTooLarge, L"%1: слишком велик (%2 байт), не показан.")                                                   \
    X(PieceUnreadable, L"%1: не удаётся прочитать (%2).")                                                           \
    X(SummaryModel, L"Модель: %1")                                                                                  \
    X(SummaryFrames, L"Фреймы: %1")                                                                                 \
    X(SummaryParts, L"Части: %1")                                                                                   \
    X(UnnamedPart, L"(без имени)")                                                                                  \
    X(DamagedPart, L"%1 (повреждённая)")                                                                            \
    X(LowDetailPart, L"%1 (упрощённая)")                                                                            \
    X(SummaryGeometries, L"Геометрии: %1")                                                                          \
    X(SummaryVertices, L"Вершины: %1")                                                                              \
    X(SummaryTriangles, L"Треугольники: %1")                                                                        \
    X(SummaryModelTextures, L"Текстуры модели: %1")                                                                 \
    X(SummaryDictionary, L"Словарь текстур: %1, текстур: %2")                                                       \
    X(SharedNotLookedFor, L"Общий словарь Vehicle.txd: не проверялся (каталог игры не открыт)")                     \
    X(SharedCount, L"Общий словарь Vehicle.txd: текстур: %1")                                                       \
    X(SharedAbsent, L"Общий словарь Vehicle.txd: в игре нет")                                                       \
    X(WarnPlatforms, L"Модель и словарь сделаны для разных платформ (%1).")                                         \
    X(WarnVersion, L"Игра не прочитает эту версию RenderWare (%1).")                                                \
    X(WarnTexture, L"Текстуру %1 не удаётся прочитать.")                                                            \
    X(CheckTitle, L"Проверка текстур:")                                                                             \
    X(CheckAllOwn, L"Все текстуры модели есть в её словаре.")                                                       \
    X(CheckNotOwn, L"Нет в своём словаре: %1")                                                                      \
    X(CheckMissing, L"Не найдены нигде: %1")                                                                        \
    X(CheckRestShared, L"Все они найдены в общем словаре игры: ничего не пропало.")                                 \
    X(CheckExpectedShared, L"Должны быть в общем словаре (не проверено): %1")                                       \
    X(CheckWarning, L"Внимание: %1")                                                                                \
    X(UnreadableFormat, L"%1, не читается")

enum class TTextKey : int {
#define VEHMIRA_TEXT_KEY(key, russian) key,
    VEHMIRA_INTERFACE_TEXTS(VEHMIRA_TEXT_KEY)
#undef VEHMIRA_TEXT_KEY
};

} // namespace vehmira::gui
