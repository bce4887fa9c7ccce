<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="fr">
<context>
    <name>MainWindow</name>
    <message>
        <source>velinor par pivolette</source>
        <translation>velinor by pivolette</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; text-decoration: none;&quot;&gt;Choisissez les fichiers à convertir...&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; text-decoration: none;&quot;&gt;Choose the files to convert...&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Fichiers à convertir :</source>
        <translation>Files to convert:</translation>
    </message>
    <message>
        <source>Double-cliquer pour supprimer un fichier.</source>
        <translation>Double-click to remove a file.</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;La liste présente les fichiers à convertir.&lt;br/&gt;Pour en ajouter, il est possible de cliquer sur le bouton &amp;quot;Sélectionner les fichiers...&amp;quot; ou de réaliser un Glisser-Déposer sur la liste.&lt;br/&gt;Pour supprimer un fichier, il faut lui double-cliquer dessus.&lt;br/&gt;Pour vider la liste, il faut aller de le menu Fichier.&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;The list shows the files to convert.&lt;br/&gt;To add some, click the &amp;quot;Select files...&amp;quot; button or drag and drop them onto the list.&lt;br/&gt;To remove a file, double-click it.&lt;br/&gt;To empty the list, use the File menu.&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; text-decoration: none;&quot;&gt;Entrez le dossier de destination de votre choix.&lt;br/&gt;Un dossier non-existant sera créé.&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; text-decoration: none;&quot;&gt;Enter the destination folder of your choice.&lt;br/&gt;A folder that does not exist will be created.&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Destination :</source>
        <translation>Destination:</translation>
    </message>
    <message>
        <source>Sélectionner les fichiers...</source>
        <translation>Select files...</translation>
    </message>
    <message>
        <source>Entrez le dossier de destination de votre choix.
Un dossier non-existant sera créé.</source>
        <translation>Enter the destination folder of your choice.
A folder that does not exist will be created.</translation>
    </message>
    <message>
        <source>Choisir un dossier de destination...</source>
        <translation>Choose a destination folder...</translation>
    </message>
    <message>
        <source>...</source>
        <translation>...</translation>
    </message>
    <message>
        <source>Mode couleur</source>
        <translation>Colour mode</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Le mode couleur correspond au mode d&apos;enregistrement de l&apos;image.&lt;br/&gt;Il est à régler par rapport au pdf à convertir et à la calculatrice cible, bien que tous fonctionnent sur tous les modèles de Nspire.&lt;br/&gt;Plus le mode est complexe (croissant de gauche à droite et de haut en bas), plus l&apos;image générée est volumineuse.&lt;/p&gt;&lt;p&gt;&lt;span style=&quot; text-decoration: underline;&quot;&gt;Testez&lt;/span&gt; les différents résultats et réglez cette option selon vos besoins.&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;The colour mode is the mode in which the image is saved.&lt;br/&gt;Set it according to the pdf to convert and the target calculator, although every mode works on every Nspire model.&lt;br/&gt;The richer the mode (growing from left to right and top to bottom), the larger the image.&lt;/p&gt;&lt;p&gt;&lt;span style=&quot; text-decoration: underline;&quot;&gt;Try&lt;/span&gt; the different results and set this option to suit your needs.&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Cela correspond à des &amp;quot;vrais&amp;quot; couleurs.&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;These are &amp;quot;true&amp;quot; colours.&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Couleurs (8 bpp)</source>
        <translation>Colours (8 bpp)</translation>
    </message>
    <message>
        <source>Cela correspond à 256 contrastes de gris.</source>
        <translation>This gives 256 shades of grey.</translation>
    </message>
    <message>
        <source>Niveaux de gris (8 bpp)</source>
        <translation>Greyscale (8 bpp)</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Cela correspond à 256 couleurs possibles.&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;This gives 256 possible colours.&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Couleurs (4 bpp)</source>
        <translation>Colours (4 bpp)</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Cela correspond à 16 contrastes de gris.&lt;br/&gt;C&apos;est le maximum possible par les Nspire non-CX.&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;This gives 16 shades of grey.&lt;br/&gt;It is the most that non-CX Nspire models can show.&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Niveaux de gris (4 bpp)</source>
        <translation>Greyscale (4 bpp)</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;L&apos;image crée sera uniquement en noir et blanc.&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;The image will be in black and white only.&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Noir et blanc</source>
        <translation>Black and white</translation>
    </message>
    <message>
        <source>Compression - Qualité</source>
        <translation>Compression - Quality</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;La compression a un impact direct sur le poids du fichier image généré.&lt;br/&gt; - Pour les PNG, une haute compression sera légèrement plus lente mais moins volumineuse.&lt;br/&gt; - Pour les JPEG, la compression est liée à la qualité : une compresion maximale fourni une image de faible qualité. Au contraire, une faible compression fourni une qualité optimale.&lt;br/&gt;&lt;br/&gt;Tandis qu&apos;il est conseillé de mettre la plus haute compression pour le PNG, celle des JPEG est à régler selon vos tests et vos besoins.&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;The compression directly affects the size of the image file.&lt;br/&gt; - For PNG, a high compression is slightly slower but gives smaller files.&lt;br/&gt; - For JPEG, the compression is tied to the quality: maximum compression gives a low-quality image. Conversely, low compression gives the best quality.&lt;br/&gt;&lt;br/&gt;While the highest compression is advised for PNG, set the JPEG one according to your tests and needs.&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Rapide mais lourd</source>
        <translation>Fast but heavy</translation>
    </message>
    <message>
        <source>Lent mais léger</source>
        <translation>Slow but light</translation>
    </message>
    <message>
        <source>Super sampling</source>
        <translation>Supersampling</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Le &lt;span style=&quot; font-style:italic;&quot;&gt;supersampling&lt;/span&gt; est une technique permettant d&apos;améliorer la qualité de l&apos;image.&lt;br/&gt;Si l&apos;image est illisible, essayez de monter ce réglage. &lt;span style=&quot; font-weight:600; color:#ff0000;&quot;&gt;Attention&lt;/span&gt; : la conversion peut être très longue en mode &lt;span style=&quot; font-style:italic;&quot;&gt;Haut&lt;/span&gt;.&lt;br/&gt;&lt;span style=&quot; font-style:italic;&quot;&gt;Redimesionner&lt;/span&gt; l&apos;image consiste à créer une image plus petite (pas obligatoirement plus légère !).&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-style:italic;&quot;&gt;Supersampling&lt;/span&gt; is a technique that improves the quality of the image.&lt;br/&gt;If the image is unreadable, try raising this setting. &lt;span style=&quot; font-weight:600; color:#ff0000;&quot;&gt;Warning&lt;/span&gt;: the conversion can be very slow in &lt;span style=&quot; font-style:italic;&quot;&gt;High&lt;/span&gt; mode.&lt;br/&gt;&lt;span style=&quot; font-style:italic;&quot;&gt;Resizing&lt;/span&gt; the image makes it smaller (not necessarily lighter!).&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Si le texte est illisible, monter ces réglages :</source>
        <translation>If the text is unreadable, raise these settings:</translation>
    </message>
    <message>
        <source>Bas (rapide, léger)</source>
        <translation>Low (fast, light)</translation>
    </message>
    <message>
        <source>Moyen</source>
        <translation>Medium</translation>
    </message>
    <message>
        <source>Haut (très lent, lourd)</source>
        <translation>High (very slow, heavy)</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Consiste à créer une image plus petite (pas obligatoirement plus légère !).&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Makes a smaller image (not necessarily lighter!).&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Redimensionner</source>
        <translation>Resize</translation>
    </message>
    <message>
        <source>Format</source>
        <translation>Format</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Réglage du format de sortie.&lt;br/&gt;- Le PNG est meilleur pour les textes et les images en noir et blanc. La compression est sans perte de qualité mais peut être très longue.&lt;br/&gt;- Le JPEG est meilleur pour les pdf en couleurs. La compression est avec pertes, et est plus rapide que celle du PNG. Le JPEG bat le PNG en termes de poids en cas de qualté minimale.&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Output format.&lt;br/&gt;- PNG is better for text and black and white images. Its compression is lossless but can be very slow.&lt;br/&gt;- JPEG is better for colour pdfs. Its compression is lossy and faster than PNG&apos;s. JPEG beats PNG on size at minimum quality.&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Le JPEG est meilleur pour les pdf en couleurs. La compression est avec pertes, et est plus rapide que celle du PNG. Le JPEG bat le PNG en termes de poids en cas de qualté minimale.&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;JPEG is better for colour pdfs. Its compression is lossy and faster than PNG&apos;s. JPEG beats PNG on size at minimum quality.&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>JPEG</source>
        <translation>JPEG</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Le PNG est meilleur pour les textes et les images en noir et blanc. La compression est sans perte de qualité mais peut être très longue.&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;PNG is better for text and black and white images. Its compression is lossless but can be very slow.&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>PNG</source>
        <translation>PNG</translation>
    </message>
    <message>
        <source>Divers</source>
        <translation>Other</translation>
    </message>
    <message>
        <source>Options diverses.</source>
        <translation>Other options.</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Créer une seule image pour les pdf contenant plusieurs images.&lt;br/&gt;&lt;br/&gt;&lt;span style=&quot; font-weight:600; color:#ff0000;&quot;&gt;Attention !&lt;/span&gt; Les pdf seront convertis en une seule image.&lt;br/&gt;Si les pdf sont trop volumineux, l&apos;image sera trop lourde pour la Nspire.&lt;br/&gt;Il n&apos;y a &lt;span style=&quot; text-decoration: underline;&quot;&gt;aucun risque de perte de données&lt;/span&gt;, mais la Nspire risque de planter.&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Make a single image for pdfs with several pages.&lt;br/&gt;&lt;br/&gt;&lt;span style=&quot; font-weight:600; color:#ff0000;&quot;&gt;Warning!&lt;/span&gt; Each pdf will be converted into one image.&lt;br/&gt;If the pdfs are too large, the image will be too heavy for the Nspire.&lt;br/&gt;There is &lt;span style=&quot; text-decoration: underline;&quot;&gt;no risk of data loss&lt;/span&gt;, but the Nspire may crash.&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Créer une seule image</source>
        <translation>Make a single image</translation>
    </message>
    <message>
        <source>Renommer les images de sortie avec &quot;.tns&quot; à la fin.</source>
        <translation>Rename the output images with &quot;.tns&quot; at the end.</translation>
    </message>
    <message>
        <source>Renommer en .tns</source>
        <translation>Rename to .tns</translation>
    </message>
    <message>
        <source>Lancer la conversion !</source>
        <translation>Start the conversion!</translation>
    </message>
    <message>
        <source>Convertir !</source>
        <translation>Convert!</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Permet de renommer les images générées avec &amp;quot;.tns&amp;quot; à la fin.&lt;br/&gt;Cette option ne fait pas de conversion, et seuls les PNG et JPG renommés.&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Renames the generated images with &amp;quot;.tns&amp;quot; at the end.&lt;br/&gt;This does not convert anything; only PNG and JPG files are renamed.&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Renommer en image</source>
        <translation>Rename to image</translation>
    </message>
    <message>
        <source>Fichier</source>
        <translation>File</translation>
    </message>
    <message>
        <source>?</source>
        <translation>?</translation>
    </message>
    <message>
        <source>Quitter</source>
        <translation>Quit</translation>
    </message>
    <message>
        <source>A propos</source>
        <translation>About</translation>
    </message>
    <message>
        <source>A propos de Qt</source>
        <translation>About Qt</translation>
    </message>
    <message>
        <source>A propos de ImageMagick</source>
        <translation>About ImageMagick</translation>
    </message>
    <message>
        <source>Aide</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>Re-détecter &quot;convert.exe&quot;</source>
        <translation>Detect &quot;convert.exe&quot; again</translation>
    </message>
    <message>
        <source>Vider la liste</source>
        <translation>Clear the list</translation>
    </message>
    <message>
        <source>A propos de Ghostscript</source>
        <translation>About Ghostscript</translation>
    </message>
    <message>
        <source>Léger mais mauvaise qualité</source>
        <translation>Light but poor quality</translation>
    </message>
    <message>
        <source>Lourd mais bonne qualité</source>
        <translation>Heavy but good quality</translation>
    </message>
    <message>
        <source>A propos...</source>
        <translation>About...</translation>
    </message>
    <message>
        <source>velinor v2.0
par pivolette

velinor convertit vos documents PDF et vos images en images PNG ou JPEG adaptées aux calculatrices Nspire.

La conversion est faite par ImageMagick et Ghostscript.</source>
        <translation>velinor v2.0
by pivolette

velinor turns your PDF documents and images into PNG or JPEG images suited to Nspire calculators.

The conversion is done by ImageMagick and Ghostscript.</translation>
    </message>
    <message>
        <source>A propos de Ghostscript...</source>
        <translation>About Ghostscript...</translation>
    </message>
    <message>
        <source>Ghostscript est un logiciel permettant la manipulation des PDF.&lt;br /&gt;Pour plus d&apos;informations : &lt;a href=&quot;https://www.ghostscript.com/&quot;&gt;site web&lt;/a&gt; (EN)</source>
        <translation>Ghostscript is software for handling PDF files.&lt;br /&gt;More information: &lt;a href=&quot;https://www.ghostscript.com/&quot;&gt;web site&lt;/a&gt;</translation>
    </message>
    <message>
        <source>A propos de ImageMagick...</source>
        <translation>About ImageMagick...</translation>
    </message>
    <message>
        <source>ImageMagick est une suite de logiciel permettant la manipulation d&apos;images dans plus de 100 formats.&lt;br /&gt;Pour plus d&apos;informations : &lt;a href=&quot;https://imagemagick.org/&quot;&gt;site web&lt;/a&gt; (EN)</source>
        <translation>ImageMagick is a software suite for handling images in more than 100 formats.&lt;br /&gt;More information: &lt;a href=&quot;https://imagemagick.org/&quot;&gt;web site&lt;/a&gt;</translation>
    </message>
    <message>
        <source>Aide...</source>
        <translation>Help...</translation>
    </message>
    <message>
        <source>Afin d&apos;obtenir de l&apos;aide pour les différentes options, survollez-les et lisez les info-bulles.&lt;br/&gt;Afin d&apos;obtenir une aide plus approfondie, allez sur le forum ou sur le chat de &lt;a href=&quot;https://www.calcarium.fr/portail&quot;&gt;Calcarium&lt;/a&gt;.&lt;br/&gt;Un topic est consacré à la conversion des pdf : &lt;a href=&quot;https://www.calcarium.fr/forum/viewtopic.php?t=1207&quot;&gt;ici&lt;/a&gt;.</source>
        <translation>For help on the options, hover over them and read the tool tips.&lt;br/&gt;For more help, visit the forum or the chat of &lt;a href=&quot;https://www.calcarium.fr/portail&quot;&gt;Calcarium&lt;/a&gt; (in French).&lt;br/&gt;A topic is dedicated to converting pdfs: &lt;a href=&quot;https://www.calcarium.fr/forum/viewtopic.php?t=1207&quot;&gt;here&lt;/a&gt;.</translation>
    </message>
    <message>
        <source>Erreur</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Erreur : Chemin vers &quot;convert.exe&quot; invalide.
Allez dans le menu Fichier pour le re-détecter.</source>
        <translation>Error: invalid path to &quot;convert.exe&quot;.
Use the File menu to detect it again.</translation>
    </message>
    <message>
        <source>Aucun répertoire de sortie n&apos;est défini.</source>
        <translation>No output folder is set.</translation>
    </message>
    <message>
        <source>La conversion a commencé...</source>
        <translation>The conversion has started...</translation>
    </message>
    <message>
        <source>Fini !</source>
        <translation>Done!</translation>
    </message>
    <message>
        <source>La recherche automatique de ImageMagick a échoué. Si vous l&apos;avez installé (nécessaire pour convertir), veuillez indiquer où se trouve l&apos;exécutable &quot;convert.exe&quot;.
Habituellement, il se trouve dans :
C:/Program Files/ImageMagick-X.X.X-QXX/convert.exe
ou dans :
C:/Program Files (x86)/ImageMagick-X.X.X-QXX/convert.exe</source>
        <translation>The automatic search for ImageMagick failed. If you have installed it (it is needed to convert), please show where the &quot;convert.exe&quot; program is.
It is usually found in:
C:/Program Files/ImageMagick-X.X.X-QXX/convert.exe
or in:
C:/Program Files (x86)/ImageMagick-X.X.X-QXX/convert.exe</translation>
    </message>
    <message>
        <source>convert.exe (convert.exe);;Tous les fichiers exécutables(*.exe)</source>
        <translation>convert.exe (convert.exe);;All executable files(*.exe)</translation>
    </message>
    <message>
        <source>La recherche automatique de ImageMagick a échoué. Si vous l&apos;avez installé (nécessaire pour convertir), veuillez indiquer où se trouve l&apos;exécutable &quot;convert&quot;.
Habituellement, il se trouve dans :
/usr/bin/convert</source>
        <translation>The automatic search for ImageMagick failed. If you have installed it (it is needed to convert), please show where the &quot;convert&quot; program is.
It is usually found in:
/usr/bin/convert</translation>
    </message>
    <message>
        <source>convert (convert magick);;Tous les fichiers (*)</source>
        <translation>convert (convert magick);;All files (*)</translation>
    </message>
    <message>
        <source>Lien vers convert.exe...</source>
        <translation>Link to convert.exe...</translation>
    </message>
    <message>
        <source>Indiquez où se trouve convert.exe</source>
        <translation>Show where convert.exe is</translation>
    </message>
    <message>
        <source>Fichiers PDF (*.pdf);;Images (*.jpg; *.png; *.gif; *.psd; *.tiff; *.svg; *.bmp);;Tous les fichiers (*.*)</source>
        <translation>PDF files (*.pdf);;Images (*.jpg; *.png; *.gif; *.psd; *.tiff; *.svg; *.bmp);;All files (*.*)</translation>
    </message>
    <message>
        <source>Fichiers PDF (*.pdf);;Images (*.jpg *.png *.gif *.psd *.tiff *.svg *.bmp);;Tous les fichiers (*)</source>
        <translation>PDF files (*.pdf);;Images (*.jpg *.png *.gif *.psd *.tiff *.svg *.bmp);;All files (*)</translation>
    </message>
    <message>
        <source>Sélectionnez les fichiers à convertir</source>
        <translation>Select the files to convert</translation>
    </message>
    <message>
        <source>Droppez les fichiers pour les ajouter.</source>
        <translation>Drop the files to add them.</translation>
    </message>
    <message>
        <source>Fichiers ajoutés avec succès.</source>
        <translation>Files added successfully.</translation>
    </message>
    <message>
        <source>Choisissez un dossier de destination</source>
        <translation>Choose a destination folder</translation>
    </message>
    <message>
        <source>Le renommage a commencé...</source>
        <translation>Renaming has started...</translation>
    </message>
    <message>
        <source>Arrêter</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>Conversion arrêtée.</source>
        <translation>Conversion stopped.</translation>
    </message>
    <message>
        <source>Conversion de &quot;%1&quot;</source>
        <translation>Converting &quot;%1&quot;</translation>
    </message>
    <message>
        <source>Choisissez un super sampling plus bas, ou décochez &quot;Créer une seule image&quot; pour obtenir une image par page.</source>
        <translation>Choose a lower supersampling, or uncheck &quot;Make a single image&quot; to get one image per page.</translation>
    </message>
    <message>
        <source>Décochez &quot;Créer une seule image&quot; pour obtenir une image par page.</source>
        <translation>Uncheck &quot;Make a single image&quot; to get one image per page.</translation>
    </message>
    <message>
        <source>Autoriser les PDF ?</source>
        <translation>Allow PDF?</translation>
    </message>
    <message>
        <source>ImageMagick, qui convertit les fichiers, refuse de lire les PDF sur cet ordinateur : ses réglages de sécurité l&apos;interdisent.

velinor peut les autoriser pour votre compte seulement, en écrivant le fichier « %1 ». Rien ne change pour le reste du système.

Autoriser ImageMagick à lire les PDF ?</source>
        <translation>ImageMagick, which converts the files, refuses to read PDF files on this computer: its security settings forbid it.

velinor can allow them for your account only, by writing the file &quot;%1&quot;. Nothing changes for the rest of the system.

Allow ImageMagick to read PDF files?</translation>
    </message>
    <message>
        <source>Conversion en cours</source>
        <translation>Conversion under way</translation>
    </message>
    <message>
        <source>Une conversion est en cours. Voulez-vous l&apos;arrêter et quitter velinor ? Les images en cours d&apos;écriture seront incomplètes.</source>
        <translation>A conversion is under way. Do you want to stop it and quit velinor? The images being written will be incomplete.</translation>
    </message>
    <message>
        <source>Arrêter et quitter</source>
        <translation>Stop and quit</translation>
    </message>
    <message>
        <source>Continuer la conversion</source>
        <translation>Go on converting</translation>
    </message>
    <message>
        <source>Voir sur l&apos;écran de la calculatrice (320×240) une page du fichier sélectionné, ou du premier de la liste, avec les options choisies</source>
        <translation>See a page of the selected file, or of the first listed, on the calculator&apos;s screen (320×240) with the chosen options</translation>
    </message>
    <message>
        <source>Aperçu...</source>
        <translation>Preview...</translation>
    </message>
    <message>
        <source>Calculatrice</source>
        <translation>Calculator</translation>
    </message>
    <message>
        <source>Des images faites pour l&apos;écran de la calculatrice (320×240).</source>
        <translation>Images made for the calculator&apos;s screen (320×240).</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Retirer les marges : chaque page garde la partie où le document a du texte, la même pour toutes ses pages, puis elle est mise à la largeur choisie.&lt;br/&gt;« Redimensionner » n&apos;a alors pas d&apos;effet.&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Remove the margins: each page keeps the part where the document has text, the same for all its pages, and is then scaled to the chosen width.&lt;br/&gt;“Resize” then has no effect.&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Adapter à l&apos;écran de la calculatrice</source>
        <translation>Fit to the calculator&apos;s screen</translation>
    </message>
    <message>
        <source>La largeur des pages adaptées : une ligne de texte tient sur ce nombre d&apos;écrans.</source>
        <translation>The width of fitted pages: a line of text takes this many screens.</translation>
    </message>
    <message>
        <source>1 écran (320 px)</source>
        <translation>1 screen (320 px)</translation>
    </message>
    <message>
        <source>2 écrans (640 px)</source>
        <translation>2 screens (640 px)</translation>
    </message>
    <message>
        <source>3 écrans (960 px)</source>
        <translation>3 screens (960 px)</translation>
    </message>
    <message>
        <source>Couper chaque page en morceaux d&apos;un écran de haut (240 pixels) au plus, seulement entre deux lignes de texte.</source>
        <translation>Cut each page into pieces at most one screen high (240 pixels), only between two lines of text.</translation>
    </message>
    <message>
        <source>Découper en écrans</source>
        <translation>Cut into screens</translation>
    </message>
    <message>
        <source>Réunir les images de chaque document, dans l&apos;ordre de lecture, en un seul fichier que le lecteur nPDF ouvre. Les images ne restent pas à côté.</source>
        <translation>Gather each document&apos;s images, in reading order, into one file that the nPDF reader opens. The images are not left beside it.</translation>
    </message>
    <message>
        <source>Un fichier .cbz.tns par document (nPDF)</source>
        <translation>One .cbz.tns file per document (nPDF)</translation>
    </message>
</context>
<context>
    <name>ScreenPreview</name>
    <message>
        <source>Aperçu de « %1 » sur la calculatrice</source>
        <translation>Preview of &quot;%1&quot; on the calculator</translation>
    </message>
    <message>
        <source>Impossible de montrer « %1 » : velinor ne peut pas le convertir avec ces options.</source>
        <translation>Cannot show &quot;%1&quot;: velinor cannot convert it with these options.</translation>
    </message>
    <message>
        <source>Conversion de la page %1...</source>
        <translation>Converting page %1...</translation>
    </message>
    <message>
        <source>La page %1 n&apos;a pas pu être convertie.</source>
        <translation>Page %1 could not be converted.</translation>
    </message>
    <message>
        <source>Page %1 sur %2, écran %3 sur %4 : une ligne tient sur %5 écran(s), la page sur %6.</source>
        <translation>Page %1 of %2, screen %3 of %4: a line takes %5 screen(s), the page %6.</translation>
    </message>
</context>
<context>
    <name>velinor</name>
    <message>
        <source>Le convertisseur s&apos;est arrêté brutalement.</source>
        <translation>The converter crashed.</translation>
    </message>
    <message>
        <source>Le convertisseur n&apos;a pas pu être lancé.</source>
        <translation>The converter could not be started.</translation>
    </message>
    <message>
        <source>Code de sortie du convertisseur : %1</source>
        <translation>Converter exit code: %1</translation>
    </message>
    <message>
        <source>« %1 » n&apos;existe pas.</source>
        <translation>&quot;%1&quot; does not exist.</translation>
    </message>
    <message>
        <source>« %1 » n&apos;est pas un fichier ordinaire (un dossier, un tube ou un périphérique, par exemple).</source>
        <translation>&quot;%1&quot; is not a regular file (it is a folder, a pipe or a device, for instance).</translation>
    </message>
    <message>
        <source>« %1 » ne peut pas être lu : vous n&apos;avez pas le droit de le lire.</source>
        <translation>&quot;%1&quot; cannot be read: you are not allowed to read it.</translation>
    </message>
    <message>
        <source>Le fichier « %1 » est resté tel quel, et ImageMagick refuse toujours les PDF : %2</source>
        <translation>The file &quot;%1&quot; was left as it was, and ImageMagick still refuses PDF: %2</translation>
    </message>
    <message>
        <source>ImageMagick peut désormais lire les PDF pour votre compte : velinor a écrit « %1 ».</source>
        <translation>ImageMagick can now read PDF for your account: velinor wrote &quot;%1&quot;.</translation>
    </message>
    <message>
        <source>ImageMagick peut désormais lire les PDF pour votre compte : velinor l&apos;a ajouté à « %1 », où vos réglages restent tels quels.</source>
        <translation>ImageMagick can now read PDF for your account: velinor added it to &quot;%1&quot;, where your settings stay as they were.</translation>
    </message>
    <message>
        <source>« %1 » autorise déjà ImageMagick à lire les PDF pour votre compte.</source>
        <translation>&quot;%1&quot; already allows ImageMagick to read PDF for your account.</translation>
    </message>
    <message>
        <source>Impossible de lire votre politique d&apos;ImageMagick. %1</source>
        <translation>Cannot read your ImageMagick policy. %1</translation>
    </message>
    <message>
        <source>Votre politique d&apos;ImageMagick n&apos;est pas un fichier qu&apos;il sait lire. %1</source>
        <translation>Your ImageMagick policy is not a file it can read. %1</translation>
    </message>
    <message>
        <source>Impossible d&apos;écrire votre politique d&apos;ImageMagick. %1</source>
        <translation>Cannot write your ImageMagick policy. %1</translation>
    </message>
    <message>
        <source>Impossible de créer une seule image de &quot;%1&quot; : ses %2 pages empilées feraient %3 pixels de haut, plus que les %4 pixels qu&apos;accepte ImageMagick.</source>
        <translation>Cannot make a single image of &quot;%1&quot;: its %2 pages stacked would be %3 pixels tall, more than the %4 pixels ImageMagick accepts.</translation>
    </message>
    <message>
        <source>Le fichier « %1 » n&apos;est pas un PDF valide : son arbre des pages annonce plus de pages qu&apos;il n&apos;en contient.</source>
        <translation>The file &quot;%1&quot; is not a valid PDF: its page tree announces more pages than it holds.</translation>
    </message>
    <message>
        <source>Erreur durant la conversion de &quot;%1&quot;.</source>
        <translation>Error while converting &quot;%1&quot;.</translation>
    </message>
    <message>
        <source>Le fichier spécifié n&apos;existe pas !</source>
        <translation>The specified file does not exist!</translation>
    </message>
    <message>
        <source>Conversion impossible de &quot;%1&quot; : l&apos;image remplacerait le fichier source. Choisissez un autre dossier de destination.</source>
        <translation>Cannot convert &quot;%1&quot;: the image would replace the source file. Choose another destination folder.</translation>
    </message>
    <message>
        <source>L&apos;opération de renommage en .tns a échoué.</source>
        <translation>Renaming to .tns failed.</translation>
    </message>
    <message>
        <source>Le nom « %1 » n&apos;est pas en UTF-8, le codage du système : velinor ne peut pas l&apos;utiliser tel quel et ne lira ni n&apos;écrira rien sous un autre nom.</source>
        <translation>The name &quot;%1&quot; is not in UTF-8, the system&apos;s encoding: velinor cannot use it as it is and will read or write nothing under another name.</translation>
    </message>
    <message>
        <source>Impossible de créer le dossier de destination « %1 ».</source>
        <translation>Cannot create the destination folder &quot;%1&quot;.</translation>
    </message>
    <message>
        <source>« %1 » n&apos;est pas un dossier.</source>
        <translation>&quot;%1&quot; is not a folder.</translation>
    </message>
    <message>
        <source>Vous n&apos;avez pas le droit d&apos;écrire dans « %1 ».</source>
        <translation>You are not allowed to write into &quot;%1&quot;.</translation>
    </message>
    <message>
        <source>Le système n&apos;a rien pu créer dans « %1 ».</source>
        <translation>The system could create nothing in &quot;%1&quot;.</translation>
    </message>
    <message>
        <source>Les images de « %1 » n&apos;ont pas pu être réunies en un fichier .cbz.tns : elles restent telles quelles.</source>
        <translation>The images of &quot;%1&quot; could not be packed into one .cbz.tns file: they are left as they are.</translation>
    </message>
    <message>
        <source>Impossible de lire « %1 » : %2</source>
        <translation>Cannot read &quot;%1&quot;: %2</translation>
    </message>
    <message>
        <source>Impossible d&apos;écrire « %1 » : %2</source>
        <translation>Cannot write &quot;%1&quot;: %2</translation>
    </message>
    <message>
        <source>Le découpage en écrans de « %1 » a échoué.</source>
        <translation>Cutting &quot;%1&quot; into screens failed.</translation>
    </message>
</context>
<context>
    <name>velinor-cli</name>
    <message>
        <source>Interrompu : aucune autre conversion ne commence, celles en cours sont arrêtées.
</source>
        <translation>Interrupted: no further conversion starts, the running ones are being stopped.
</translation>
    </message>
    <message>
        <source>valeur invalide pour %1 : « %2 » (au choix : %3)</source>
        <translation>invalid value for %1: &quot;%2&quot; (choose from: %3)</translation>
    </message>
    <message>
        <source>option inconnue : %1</source>
        <translation>unknown option: %1</translation>
    </message>
    <message>
        <source>l&apos;option %1 ne prend pas de valeur</source>
        <translation>option %1 takes no value</translation>
    </message>
    <message>
        <source>l&apos;option %1 demande une valeur</source>
        <translation>option %1 needs a value</translation>
    </message>
    <message>
        <source>l&apos;option %1 demande un chemin non vide</source>
        <translation>option %1 needs a non-empty path</translation>
    </message>
    <message>
        <source>la compression va de 0 à 9, pas « %1 »</source>
        <translation>the compression goes from 0 to 9, not &quot;%1&quot;</translation>
    </message>
    <message>
        <source>le nombre de conversions simultanées doit être un entier positif, pas « %1 »</source>
        <translation>the number of simultaneous conversions must be a positive whole number, not &quot;%1&quot;</translation>
    </message>
    <message>
        <source>le mode %1 n&apos;existe pas en JPEG : choisissez bw, gray8 ou color8</source>
        <translation>mode %1 does not exist in JPEG: choose bw, gray8 or color8</translation>
    </message>
    <message>
        <source>aucun fichier à convertir</source>
        <translation>no file to convert</translation>
    </message>
    <message>
        <source>Pour l&apos;aide : velinor-cli --help</source>
        <translation>For help: velinor-cli --help</translation>
    </message>
    <message>
        <source>ImageMagick est introuvable : installez-le, ou indiquez le convertisseur avec --converter.
</source>
        <translation>ImageMagick cannot be found: install it, or give the converter with --converter.
</translation>
    </message>
    <message>
        <source>Le convertisseur « %1 » est introuvable ou ne peut pas être lancé.
</source>
        <translation>The converter &quot;%1&quot; cannot be found or cannot be started.
</translation>
    </message>
    <message>
        <source>Impossible d&apos;écrire sur la sortie standard : %1.
</source>
        <translation>Cannot write to standard output: %1.
</translation>
    </message>
    <message>
        <source>Au plus %1 conversions simultanées au lieu de %2 : le système limite velinor-cli à %3 fichiers ouverts.
</source>
        <translation>At most %1 simultaneous conversions instead of %2: the system limits velinor-cli to %3 open files.
</translation>
    </message>
    <message>
        <source>velinor-cli : %1</source>
        <translation>velinor-cli: %1</translation>
    </message>
    <message>
        <source>(%1 pages sur %2)</source>
        <translation>(%1 of %2 pages)</translation>
    </message>
    <message>
        <source>Choisissez un --supersampling plus bas, ou retirez --single-image pour obtenir une image par page.</source>
        <translation>Choose a lower --supersampling, or leave out --single-image to get one image per page.</translation>
    </message>
    <message>
        <source>Retirez --single-image pour obtenir une image par page.</source>
        <translation>Leave out --single-image to get one image per page.</translation>
    </message>
    <message>
        <source>ImageMagick refuse de lire les PDF sur cet ordinateur (ses réglages de sécurité). Pour les autoriser pour votre compte seulement : velinor-cli --allow-pdf
</source>
        <translation>ImageMagick refuses to read PDF on this computer (its security settings). To allow them for your account only: velinor-cli --allow-pdf
</translation>
    </message>
    <message>
        <source>la largeur de --fit va de 160 à 2000 pixels (320 : un écran), pas « %1 »</source>
        <translation>the width of --fit goes from 160 to 2000 pixels (320: one screen), not &quot;%1&quot;</translation>
    </message>
    <message>
        <source>Utilisation : velinor-cli [options] FICHIER...
       velinor-cli --allow-pdf [options] [FICHIER...]
Convertit des PDF et des images en PNG ou JPEG pour les calculatrices Nspire, avec
ImageMagick, comme la fenêtre de velinor, plusieurs fichiers à la fois.

  -d, --destination DOSSIER  dossier des images, créé au besoin
                             (par défaut : le dossier du dernier FICHIER)
      --mode MODE            bw, gray4, gray8, color4 ou color8 (par défaut : gray4)
      --format FORMAT        png ou jpeg (par défaut : png)
      --compression N        de 0 à 9 (par défaut : 9 en PNG, 5 en JPEG)
      --supersampling NIVEAU low, medium ou high (par défaut : medium)
      --resize               redimensionner : moitié en medium, quart en high
      --single-image         créer une seule image par document
      --tns                  renommer les images en .tns après chaque conversion
      --cbz                  un fichier .cbz.tns par document (nPDF)
      --fit LARGEUR          rogner les pages au texte du document, même cadre pour
                             toutes, et les mettre à LARGEUR pixels : 320 (un écran),
                             640, 960, ou de 160 à 2000 ; --resize est alors sans effet
      --screens              découper chaque page en écrans de 240 pixels de haut au
                             plus, entre les lignes : cours-p003-01.png, …
      --converter CHEMIN     le convertisseur à lancer
                             (par défaut : recherché comme le fait velinor)
  -j, --jobs N               conversions simultanées
                             (par défaut : le nombre de processeurs)
      --dry-run              afficher les commandes sans rien convertir (sans celles
                             du découpage, qui dépendent des pages rendues)
      --allow-pdf            autoriser ImageMagick à lire les PDF, pour votre compte
                             seulement (puis convertir les FICHIERs donnés)
  -q, --quiet                ne signaler que les fichiers en erreur
  -h, --help                 afficher cette aide
  -V, --version              afficher la version

Codes de sortie : 0 tout est converti ; 1 un fichier manque ou a échoué ;
2 erreur d&apos;utilisation ou convertisseur introuvable ;
129, 130, 143 interrompu (SIGHUP, Ctrl-C, SIGTERM).
</source>
        <translation>Usage: velinor-cli [options] FILE...
       velinor-cli --allow-pdf [options] [FILE...]
Converts PDFs and images to PNG or JPEG for Nspire calculators with ImageMagick,
like the velinor window, several files at a time.

  -d, --destination FOLDER   folder of the images, created if needed
                             (default: the folder of the last FILE)
      --mode MODE            bw, gray4, gray8, color4 or color8 (default: gray4)
      --format FORMAT        png or jpeg (default: png)
      --compression N        0 to 9 (default: 9 for PNG, 5 for JPEG)
      --supersampling LEVEL  low, medium or high (default: medium)
      --resize               resize: half at medium, quarter at high
      --single-image         make one image per document
      --tns                  rename the images to .tns after each conversion
      --cbz                  one .cbz.tns file per document (nPDF)
      --fit WIDTH            trim the pages to the document&apos;s text, one frame for
                             all of them, and make them WIDTH pixels wide: 320 (one
                             screen), 640, 960, or 160 to 2000; --resize then does nothing
      --screens              cut each page into screens at most 240 pixels tall,
                             between lines: cours-p003-01.png, ...
      --converter PATH       the converter to run
                             (default: found as velinor finds it)
  -j, --jobs N               simultaneous conversions
                             (default: the number of processors)
      --dry-run              print the commands without converting anything (not the
                             cutting ones, which depend on the rendered pages)
      --allow-pdf            let ImageMagick read PDF, for your account only
                             (then convert the FILEs given)
  -q, --quiet                report only the files in error
  -h, --help                 show this help
  -V, --version              show the version

Exit codes: 0 everything converted; 1 a file is missing or failed;
2 usage error or converter not found;
129, 130, 143 interrupted (SIGHUP, Ctrl-C, SIGTERM).
</translation>
    </message>
</context>
</TS>
